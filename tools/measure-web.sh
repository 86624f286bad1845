#!/usr/bin/env bash
# Builds the page with tools/build-web.sh and measures it in headless Chromium: total
# gzip download and the time to summarise sample two after load.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build-web.sh >/dev/null
exec /usr/bin/python3 tests/web/measure.py
