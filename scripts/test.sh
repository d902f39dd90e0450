#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${ORVEX_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DORVEX_BUILD_TESTS=ON -DORVEX_BUILD_FUZZ=${ORVEX_BUILD_FUZZ:-ON}
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$build/xdg-runtime" && chmod 700 "$build/xdg-runtime"
export XDG_RUNTIME_DIR="$PWD/$build/xdg-runtime"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
