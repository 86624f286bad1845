#!/usr/bin/env bash
# The browser page: builds it with emscripten, then tests in node the page's
# GB18030 encoder against glibc's, the conformance cases through the wasm
# engine against the stored results and abrivo-cli, and the reading of
# files; then drives the page in headless Chromium, served on 127.0.0.1,
# against abrivo-cli (this writes docs/web.png).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
abrivo_require_packages "${ABRIVO_BUILD_PACKAGES[@]}" emscripten nodejs chromium python3-websocket

bash tools/build-web.sh
cli=${ABRIVO_CLI:-build/debug/cli/abrivo-cli}
if [ ! -x "$cli" ]; then
  cmake --preset debug >/dev/null
  cmake --build --preset debug --target abrivo-cli
fi

table=$(mktemp)
trap 'rm -f "$table"' EXIT
/usr/bin/python3 tests/web/glibc_gb18030.py >"$table"
node tests/web/encoder_test.mjs build/web/page "$table"
node tests/web/conformance_test.mjs build/web/page tests/data/conformance.jsonl "$cli"
node tests/web/textfile_test.mjs web
/usr/bin/python3 tests/web/browser_test.py "$cli"
