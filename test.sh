#!/usr/bin/env bash
# Builds Abrivo with its tests and runs every test; exits non-zero when any
# test fails. Further suites (sanitizers, fuzzing, packaging) live in
# tools/test-*.sh and run after the main suite.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
source tools/suite.sh
abrivo_require_packages "${ABRIVO_BUILD_PACKAGES[@]}" libgtest-dev
abrivo_run_suite debug

for suite in tools/test-*.sh; do
  [ -e "$suite" ] || continue
  echo "== $suite"
  bash "$suite"
done
echo "All tests passed."
