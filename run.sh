#!/usr/bin/env bash
# Builds Abrivo (release) and runs it: the window when a display is available,
# otherwise the command-line front end on the default article.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
abrivo_require_packages "${ABRIVO_BUILD_PACKAGES[@]}"

cmake --preset release >/dev/null
cmake --build --preset release --target abrivo abrivo-cli

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/release/app/abrivo ]; then
  exec build/release/app/abrivo "$@"
fi
[ $# -eq 0 ] && set -- --sample 1
exec build/release/cli/abrivo-cli "$@"
