#!/usr/bin/env bash
# Serves the page built by tools/build-web.sh on http://127.0.0.1:PORT/
# (default 8018), on the loopback interface only. Stop it with Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
port=${1:-8018}
page=build/web/page
if [ ! -f "$page/abrivo.wasm" ]; then
  echo "No page in $page: run tools/build-web.sh first." >&2
  exit 1
fi
echo "Serving http://127.0.0.1:$port/" >&2
exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory "$page" "$port"
