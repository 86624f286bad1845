#!/usr/bin/env bash
# Builds the browser page with Debian's emscripten into build/web/page:
# index.html, style.css, page.js, worker.js, samples.js, abrivo.js and
# abrivo.wasm. Serve it with tools/serve-web.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
abrivo_require_packages emscripten cmake ninja-build

# Debian's emcc runs its JS optimiser with node; when node is not Debian's
# own, the optimiser's modules must be found on NODE_PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
export EMSDK_PYTHON=/usr/bin/python3

emcmake cmake -S . -B build/web -G Ninja \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="-fwasm-exceptions" \
  -DABRIVO_BUILD_WEB=ON -DABRIVO_BUILD_APP=OFF -DABRIVO_BUILD_CLI=OFF \
  -DABRIVO_BUILD_TESTS=OFF -DABRIVO_BUILD_BENCH=OFF -DABRIVO_BUILD_FUZZ=OFF >/dev/null
cmake --build build/web --target abrivo_web -j 2
echo "Page built in build/web/page"
