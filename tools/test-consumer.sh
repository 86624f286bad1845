#!/usr/bin/env bash
# The library as another program sees it: installs the components "library"
# and "development" of a release build into a temporary prefix, checks the
# installed files, builds tests/consumer against that prefix once with
# find_package(Abrivo 1.2) and once with pkg-config, and runs both on the
# three samples (every length) and the conformance cases. Each must give the
# summary, keyword line, status, language and sizes that abrivo-cli --jsonl
# gives, and the stored values of the conformance cases.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
abrivo_require_packages "${ABRIVO_BUILD_PACKAGES[@]}"

# The build of tools/test-package.sh, so that the two share their work.
build=build/package
cmake --preset release -B "$build" -DABRIVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target abrivo_shared abrivo-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
for component in library development; do
  cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
done

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The public header, the library, the CMake package and the pkg-config file;
# no internal header, no static archive.
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
expected="include/abrivo/abrivo.h
lib/cmake/Abrivo/AbrivoConfig.cmake
lib/cmake/Abrivo/AbrivoConfigVersion.cmake
lib/cmake/Abrivo/AbrivoTargets-release.cmake
lib/cmake/Abrivo/AbrivoTargets.cmake
lib/libabrivo.so
lib/libabrivo.so.1
lib/libabrivo.so.$version
lib/pkgconfig/abrivo.pc"
diff <(echo "$expected") <(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >&2 ||
  fail "installed files differ (< expected, > installed)"

# The version file accepts 1.x up to this version and nothing else.
cat >"$work/version.cmake" <<EOF
include("$prefix/lib/cmake/Abrivo/AbrivoConfigVersion.cmake")
message("\${PACKAGE_VERSION_COMPATIBLE}")
EOF
for row in 1:TRUE 1.0:TRUE 1.2:TRUE 1.2.0:TRUE 1.3:FALSE 2.0:FALSE 0.9:FALSE; do
  want=${row%%:*}
  got=$(cmake -DPACKAGE_FIND_VERSION="$want" -DPACKAGE_FIND_VERSION_MAJOR="${want%%.*}" \
    -P "$work/version.cmake" 2>&1) || true
  [ "$got" = "${row##*:}" ] || fail "find_package(Abrivo $want): compatible is '$got', expected ${row##*:}"
done

# Built with find_package; the compiler never sees the source tree.
cmake -S tests/consumer -B "$work/with-cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_FLAGS=-Werror >/dev/null
cmake --build "$work/with-cmake" >/dev/null
# Built with pkg-config.
# shellcheck disable=SC2046 # pkg-config prints several words
g++ -std=c++17 -O2 -Wall -Wextra -Werror -o "$work/with-pkg-config" tests/consumer/consumer.cpp \
  $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs abrivo)
export LD_LIBRARY_PATH=$prefix/lib
for program in "$work/with-cmake/consumer" "$work/with-pkg-config"; do
  # Not ldd | grep -q: grep may stop reading early, and under pipefail
  # ldd's broken pipe would count as a failure.
  libraries=$(ldd "$program")
  grep -qF "$prefix/lib/libabrivo.so.1" <<<"$libraries" ||
    fail "$program does not load the installed libabrivo.so.1"
done

# The input: the conformance cases and the three samples at every length.
/usr/bin/python3 - tests/data/conformance.jsonl samples >"$work/input.jsonl" <<'EOF'
import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    if line.strip():
        case = json.loads(line)
        print(json.dumps({k: case[k] for k in ("id", "title", "content", "length")}, ensure_ascii=False))
for n in (1, 2, 3):
    title = open(f"{sys.argv[2]}/{n}-title.txt", encoding="utf-8").read().rstrip("\n")
    article = open(f"{sys.argv[2]}/{n}-article.txt", encoding="utf-8").read()
    for length in range(-1, 4):
        print(json.dumps({"id": f"sample-{n}-{length}", "title": title, "content": article,
                          "length": length}, ensure_ascii=False))
EOF
"$build/cli/abrivo-cli" --jsonl <"$work/input.jsonl" >"$work/cli.jsonl"
"$work/with-cmake/consumer" <"$work/input.jsonl" >"$work/with-cmake.jsonl"
"$work/with-pkg-config" <"$work/input.jsonl" >"$work/with-pkg-config.jsonl"

/usr/bin/python3 - "$work" tests/data/conformance.jsonl <<'EOF' || fail "the consumers' results differ"
import json, sys
work, conformance = sys.argv[1], sys.argv[2]

def load(path):
    return [json.loads(line) for line in open(path, encoding="utf-8") if line.strip()]

cli = load(f"{work}/cli.jsonl")
stored = {case["id"]: case["expected"] for case in load(conformance)}
bad = 0
for name in ("with-cmake", "with-pkg-config"):
    results = load(f"{work}/{name}.jsonl")
    if len(results) != len(cli) or len(results) != len(stored) + 15:
        print(f"{name}: {len(results)} results, abrivo-cli {len(cli)}", file=sys.stderr)
        bad += 1
        continue
    for mine, theirs in zip(results, cli):
        rid = mine["id"]
        if rid != theirs.get("id"):
            bad += 1
            print(f"{name}: result {rid} stands where abrivo-cli has {theirs.get('id')}", file=sys.stderr)
        fields = ("summary", "keyword_line", "status", "language", "sizes")
        sources = [("abrivo-cli", {field: theirs.get(field) for field in fields})]
        if rid in stored:
            expected = stored[rid]
            sources.append(("the stored value", {
                "summary": expected["summary"], "keyword_line": expected["keywords"],
                "status": expected["status"], "language": expected["language"]}))
        for source, values in sources:
            for field, value in values.items():
                got = mine.get(field)
                if got != value:
                    bad += 1
                    print(f"{name} {rid}: {field} is {json.dumps(got, ensure_ascii=False)[:200]}, "
                          f"{source} has {json.dumps(value, ensure_ascii=False)[:200]}", file=sys.stderr)
    print(f"{name}: {len(results)} records compared")
sys.exit(1 if bad else 0)
EOF

if [ "$failures" -ne 0 ]; then
  echo "$failures consumer check(s) failed" >&2
  exit 1
fi
echo "Consumer checks passed: find_package and pkg-config builds agree with abrivo-cli"
