#!/usr/bin/env bash
# Builds Abrivo with its tests and runs every test; exits non-zero when any
# test fails. Further suites (sanitizers, fuzzing, packaging) live in
# tools/test-*.sh and run after the main suite.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
abrivo_require_packages "${ABRIVO_BUILD_PACKAGES[@]}" libgtest-dev

cmake --preset debug >/dev/null
cmake --build --preset debug
QT_QPA_PLATFORM=offscreen ctest --preset debug -j "$(nproc)"

for suite in tools/test-*.sh; do
  [ -e "$suite" ] || continue
  echo "== $suite"
  bash "$suite"
done
echo "All tests passed."
