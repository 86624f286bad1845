#!/usr/bin/env bash
# Short fuzz runs for ./test.sh: each target of fuzz/ for 10 seconds from its
# committed seed corpus. A finding fails the suite. The longer run is
# tools/fuzz.sh TARGET SECONDS.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
abrivo_require_packages g++ clang libclang-rt-14-dev cmake ninja-build nlohmann-json3-dev

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in engine_fuzz text_ops_fuzz batch_fuzz; do
  mkdir -p "$work/$target"
  if ! ABRIVO_FUZZ_WORKDIR="$work/$target" tools/fuzz.sh "$target" 10 >"$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log" >&2
    echo "FAIL: $target stopped on a finding, kept in build/fuzz/findings/" >&2
    exit 1
  fi
  echo "$target: $(grep -m1 '^Done' "$work/$target.log")"
done
