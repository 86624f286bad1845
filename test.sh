#!/usr/bin/env bash
# Builds Abrivo with its tests and runs every test; exits non-zero when any
# test fails.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
abrivo_require_packages "${ABRIVO_BUILD_PACKAGES[@]}" libgtest-dev

cmake --preset debug >/dev/null
cmake --build --preset debug
ctest --preset debug --output-on-failure -j "$(nproc)"
