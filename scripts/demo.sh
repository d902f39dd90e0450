#!/usr/bin/env bash
# Builds and starts the demonstration program. Without a display it runs under
# Xvfb, saves a screenshot and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${ORVEX_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The demonstration program when it exists, else the smallest host.
if [ -f demo/CMakeLists.txt ]; then
  target=OrvexGDIDemo; program="$build/demo/OrvexGDIDemo"
else
  target=orvex_minimal; program="$build/examples/minimal/orvex_minimal"
fi
cmake --build "$build" --target "$target" --parallel "$(nproc)"

if [ -n "${DISPLAY:-}" ]; then
  exec "$program"
fi

shot="$PWD/$build/demo-screenshot.png"
rm -f "$shot"
xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$program" "$shot"
[ -s "$shot" ] || { echo "no screenshot was taken" >&2; exit 1; }
echo "screenshot: $shot"
