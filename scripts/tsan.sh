#!/usr/bin/env bash
# Builds the band renderer's test under ThreadSanitizer in its own build
# directory (build-tsan) and runs it: several threads draw bands of one
# picture at once, and any data race between them ends the run with a report.
# Usage: scripts/tsan.sh [jobs]   (default: one job)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${ORVEX_TSAN_BUILD_DIR:-build-tsan}
jobs=${1:-1}
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVEX_BUILD_TESTS=ON -DORVEX_BUILD_DEMO=OFF -DORVEX_BUILD_DESIGNER=OFF -DORVEX_BUILD_FUZZ=OFF \
  -DORVEX_BUILD_TOOLS=OFF -DORVEX_BUILD_BENCH=OFF "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread
cmake --build "$build" --target band_render_test -j "$jobs"

export QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS=disabled:
# Qt's raster engine hands large fills to its own thread pool and waits for
# them with Qt's own synchronisation, which ThreadSanitizer cannot see in the
# uninstrumented Qt libraries; only calls from our own (instrumented) code are
# checked.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1 ${TSAN_OPTIONS:-}"
"$build/tests/band_render_test"
