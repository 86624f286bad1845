#!/usr/bin/env bash
# Takes the README's picture of the window: builds the program, runs it on a
# virtual X display with a CJK font, presses 开始摘要 on the default article
# and saves the window as docs/screenshot.png (or the PNG file given).
#
#   tools/screenshot.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
abrivo_require_packages g++ cmake ninja-build qt6-base-dev xvfb fonts-wqy-zenhei

out="${1:-docs/screenshot.png}"
build=build/screenshot
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DABRIVO_BUILD_CLI=OFF -DABRIVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target abrivo

# A display of its own: Xvfb picks a free number and writes it to fd 3.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  sleep 0.1
done
[ -s "$display_file" ] || { echo "Xvfb did not start" >&2; exit 1; }

mkdir -p "$(dirname "$out")"
DISPLAY=":$(cat "$display_file")" QT_QPA_PLATFORM=xcb \
  "$build/app/abrivo" --run-and-screenshot "$out"
echo "Wrote $out"
