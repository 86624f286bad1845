#!/usr/bin/env bash
# Measures the engine: builds the "bench" preset (a release build with the
# benchmarks in build/bench), runs them (one thread), measures the peak
# memory of abrivo-cli on generated 10 MiB texts of several shapes and
# prints the results against the performance targets as Markdown tables.
#
#   tools/bench.sh                          # everything
#   tools/bench.sh --benchmark_filter=zh_   # further arguments go to engine_bench
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
abrivo_require_packages g++ cmake ninja-build nlohmann-json3-dev libbenchmark-dev time

build=build/bench
cmake --preset bench >/dev/null
cmake --build --preset bench

load=$(cut -d' ' -f1-3 /proc/loadavg)
machine=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
echo "== Benchmarks (load average before: $load)"
json="$build/engine_bench.json"
"$build/bench/engine_bench" --benchmark_out="$json" --benchmark_out_format=json "$@"

# Peak resident memory of one abrivo-cli run on each 10 MiB text, as GBK:
# label, make-text shape, abrivo-cli format. zh-repeat repeats one block of
# random characters three times, so every run of up to 17 characters
# repeats; zh-short is short distinct sentences, a table row every 16 bytes.
shapes=(
  "Chinese|zh|text"
  "English|en|text"
  "Chinese, one random block three times|zh-repeat|text"
  "Chinese, short distinct sentences, -f json|zh-short|json"
  "English, -f json|en|json"
)
texts="$build/texts"
mkdir -p "$texts"
declare -A peak
echo "== Peak memory of abrivo-cli"
for entry in "${shapes[@]}"; do
  IFS='|' read -r label shape format <<<"$entry"
  article="$texts/$shape-10MiB.txt"
  title="$texts/$shape-10MiB-title.txt"
  "$build/bench/make-text" "$shape" 10485760 "$article" "$title" -e gbk
  /usr/bin/time -v "$build/cli/abrivo-cli" -e gbk -l 1 -f "$format" --title-file "$title" \
    "$article" >/dev/null 2>"$texts/$shape-$format-time.txt"
  kib=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' \
    "$texts/$shape-$format-time.txt")
  bytes=$(stat -c %s "$article")
  peak[$label]="$kib $bytes"
  echo "$label: $((kib / 1024)) MiB peak for $bytes input bytes"
done

# The benchmark JSON has one field a line; keep name, times and unit.
times=$(awk -F'"' '
  /"name":/ { name = $4 }
  /"real_time":/ { split($3, v, /[:,]/); real = v[2] + 0 }
  /"cpu_time":/ { split($3, v, /[:,]/); cpu = v[2] + 0 }
  /"time_unit":/ {
    f = ($4 == "ns") ? 1e-6 : ($4 == "us") ? 1e-3 : ($4 == "s") ? 1e3 : 1
    printf "%s %.6f %.6f\n", name, real * f, cpu * f
  }' "$json")

ms() { awk -v n="$1" '$1 == n { print $2 }' <<<"$times"; }
# row LABEL VALUE UNIT OP LIMIT: one line of the target table, met when
# "VALUE OP LIMIT" holds (OP is <, <= or >=; UNIT is ms, x or B/B).
row() {
  awk -v label="$1" -v v="$2" -v unit="$3" -v op="$4" -v limit="$5" '
    function show(x) {
      if (unit == "ms") return x >= 1000 ? sprintf("%.3g s", x / 1000) : sprintf("%.3g ms", x)
      if (unit == "x") return sprintf("%.3gx", x)
      return sprintf("%.3g bytes per input byte", x)
    }
    BEGIN {
      if (v == "") {
        printf "| %s | not run | %s %s | |\n", label, op, show(limit)
        exit
      }
      met = (op == "<") ? v < limit : (op == "<=") ? v <= limit : v >= limit
      printf "| %s | %s | %s %s | %s |\n", label, show(v), op, show(limit), met ? "yes" : "**no**"
    }'
}
ratio() { [ -n "$1" ] && [ -n "$2" ] && awk -v a="$1" -v b="$2" 'BEGIN { print a / b }' || true; }
perByte() {
  [ -n "${peak[$1]:-}" ] && awk -v p="${peak[$1]}" 'BEGIN { split(p, x, " "); print x[1] * 1024 / x[2] }'
}

echo
echo "== Results on $machine, $(nproc) cores (load average before the benchmarks: $load)"
echo
echo "| Benchmark | Real time | CPU time | Reference / fast |"
echo "|---|---:|---:|---:|"
while read -r name real cpu; do
  fast=""
  [[ $name == */reference ]] && fast=$(ms "${name%/reference}/fast")
  awk -v n="$name" -v r="$real" -v c="$cpu" -v f="$fast" 'BEGIN {
    x = (f != "") ? sprintf("%.0fx", r / f) : ""
    if (r >= 1000) printf "| %s | %.2f s | %.2f s | %s |\n", n, r / 1000, c / 1000, x
    else printf "| %s | %.3g ms | %.3g ms | %s |\n", n, r, c, x
  }'
done <<<"$times"
echo
echo "| Measure (real time) | Measured | Target | Met |"
echo "|---|---:|---|---|"
row "sample 2, full run" "$(ms sample2/fast)" ms "<" 1
row "sample 2, reference / fast" "$(ratio "$(ms sample2/reference)" "$(ms sample2/fast)")" x ">=" 300
row "Chinese 1 MiB" "$(ms zh_1MiB/fast)" ms "<" 500
row "Chinese 10 MiB" "$(ms zh_10MiB/fast)" ms "<" 6000
row "Chinese 10 MiB / 1 MiB" "$(ratio "$(ms zh_10MiB/fast)" "$(ms zh_1MiB/fast)")" x "<=" 12
row "English 10 MiB" "$(ms en_10MiB/fast)" ms "<" 3000
row "Chinese 1 MiB with a 1 MiB headline / without" \
  "$(ratio "$(ms zh_1MiB_headline_1MiB/fast)" "$(ms zh_1MiB/fast)")" x "<" 2
for entry in "${shapes[@]}"; do
  label=${entry%%|*}
  row "abrivo-cli peak memory, $label 10 MiB" "$(perByte "$label")" B/B "<=" 40
done

# == Batch throughput: records per second of abrivo-cli --jsonl (-j 1, -j 2)
# and of the Python module, on 10,000 generated articles of 4 KiB (GBK
# bytes) in each language; bench/batch_bench.py prints the tables.
abrivo_require_packages pybind11-dev python3-dev
cmake -S . -B "$build" -DABRIVO_BUILD_PYTHON=ON >/dev/null
cmake --build "$build" --target make-corpus abrivo-cli abrivo_python
corpus="$build/corpus"
mkdir -p "$corpus"
for lang in zh en; do
  [ -s "$corpus/$lang-10000x4KiB.jsonl" ] ||
    "$build/bench/make-corpus" "$lang" 10000 4096 "$corpus/$lang-10000x4KiB.jsonl"
done
echo
echo "== Batch throughput (load average before: $(cut -d' ' -f1-3 /proc/loadavg))"
echo
PYTHONPATH="$PWD/$build/python" /usr/bin/python3 bench/batch_bench.py --cli "$build/cli/abrivo-cli" \
  zh="$corpus/zh-10000x4KiB.jsonl" en="$corpus/en-10000x4KiB.jsonl"
