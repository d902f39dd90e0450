#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Exits non-zero on any failure.
#   ORVEX_BUILD_DIR  build folder (default: build)
#   ORVEX_BUILD_FUZZ build the fuzz targets (default: ON)
#   ORVEX_SANITIZE   ON: build and test with AddressSanitizer and
#                    UndefinedBehaviorSanitizer (default: OFF)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${ORVEX_BUILD_DIR:-build}
sanitize=${ORVEX_SANITIZE:-OFF}
if [ "$sanitize" = ON ]; then
  # Any report fails the program that meets it; the only leak let through
  # is Open CASCADE's own allocator's, which frees its pools after exit.
  export ASAN_OPTIONS=detect_leaks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DORVEX_BUILD_TESTS=ON -DORVEX_BUILD_FUZZ=${ORVEX_BUILD_FUZZ:-ON} -DORVEX_SANITIZE="$sanitize"
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
# The tests have no session bus: saying so keeps libdbus from trying to reach
# one (a failed attempt leaves its error allocated to the end of the process).
export DBUS_SESSION_BUS_ADDRESS=disabled:
mkdir -p "$build/xdg-runtime" && chmod 700 "$build/xdg-runtime"
export XDG_RUNTIME_DIR="$PWD/$build/xdg-runtime"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
