#!/usr/bin/env bash
# The whole test suite, window tests included, built with AddressSanitizer and
# UndefinedBehaviorSanitizer (the asan preset). The first report of either,
# or a leak, fails the test that made it.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
source tools/suite.sh
abrivo_require_packages "${ABRIVO_BUILD_PACKAGES[@]}" libgtest-dev
abrivo_run_suite asan
