#!/usr/bin/env bash
# Builds the fuzz targets (the fuzz preset: clang with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs one of them.
#
# Usage: tools/fuzz.sh TARGET [SECONDS] [LIBFUZZER_OPTION...]
#   TARGET   engine_fuzz, text_ops_fuzz or batch_fuzz
#   SECONDS  how long to run (default 600)
#
# New inputs collect in build/fuzz/corpus/TARGET (ABRIVO_FUZZ_WORKDIR sets
# another directory), seeded from fuzz/corpus/TARGET. A finding stops the run
# with a non-zero status and is kept in build/fuzz/findings/; rerun it with
#   build/fuzz/fuzz/TARGET build/fuzz/findings/FILE
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
abrivo_require_packages g++ clang libclang-rt-14-dev cmake ninja-build nlohmann-json3-dev

usage="usage: tools/fuzz.sh engine_fuzz|text_ops_fuzz|batch_fuzz [SECONDS] [LIBFUZZER_OPTION...]"
target=${1:-}
case "$target" in
  engine_fuzz | text_ops_fuzz | batch_fuzz) ;;
  *) echo "$usage" >&2; exit 2 ;;
esac
seconds=${2:-600}
shift $(($# >= 2 ? 2 : 1))

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

workdir=${ABRIVO_FUZZ_WORKDIR:-build/fuzz/corpus/$target}
findings=build/fuzz/findings
mkdir -p "$workdir" "$findings"
# Inputs up to a few kilobytes: long enough for repeated terms and several
# sentences, short enough for many runs a second.
case "$target" in
  text_ops_fuzz) max_len=1024 ;;
  *) max_len=4096 ;;
esac
options=(-max_total_time="$seconds" -max_len="$max_len" -timeout=30 -rss_limit_mb=4096
  -print_final_stats=1 -artifact_prefix="$findings/$target-")
[ -f "fuzz/$target.dict" ] && options+=(-dict="fuzz/$target.dict")
exec "build/fuzz/fuzz/$target" "${options[@]}" "$@" "$workdir" "fuzz/corpus/$target"
