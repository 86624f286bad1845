#!/usr/bin/env bash
# Measures the page built by tools/build-web.sh in headless Chromium: total
# gzip download and the time to summarise sample two after load.
set -euo pipefail
cd "$(dirname "$0")/.."
exec /usr/bin/python3 tests/web/measure.py
