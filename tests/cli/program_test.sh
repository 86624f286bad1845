#!/usr/bin/env bash
# The built abrivo-cli through real pipes and files: main() hands over the
# arguments, standard input and the exit status unchanged.
# Usage: program_test.sh path/to/abrivo-cli
set -u
cli=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect STATUS OUT_FILE ERR_PATTERN -- command...
expect() {
  local status=$1 pattern=$2
  shift 3
  "$@" >"$dir/out" 2>"$dir/err"
  local got=$?
  [ "$got" -eq "$status" ] || fail "$*: exit $got, expected $status"
  grep -q -- "$pattern" "$dir/err" || fail "$*: stderr lacks '$pattern': $(cat "$dir/err")"
  if [ "$status" -ne 0 ] && [ -s "$dir/out" ]; then fail "$*: wrote to stdout on failure"; fi
}

printf 'The first tree is green.\nThe second tree is tall.\n' >"$dir/a.txt"

"$cli" --version | grep -qx 'abrivo-cli [0-9][0-9.]*' || fail "--version"
"$cli" -f json -t Trees "$dir/a.txt" >"$dir/file.json" || fail "file input"
"$cli" -f json -t Trees <"$dir/a.txt" >"$dir/stdin.json" || fail "stdin input"
cat "$dir/a.txt" | "$cli" -f json -t Trees - >"$dir/pipe.json" || fail "pipe input"
cmp -s "$dir/file.json" "$dir/stdin.json" || fail "file and stdin differ"
cmp -s "$dir/file.json" "$dir/pipe.json" || fail "file and pipe differ"
grep -q '"language":"en"' "$dir/file.json" || fail "json output: $(cat "$dir/file.json")"

grep -q '"sizes":{"article":[0-9]*,"summary":[0-9]*}' "$dir/file.json" || fail "typed json sizes"

# Length modes and encodings through the real program.
"$cli" -l 1 "$dir/a.txt" >"$dir/list.txt" && "$cli" --chars 300 "$dir/a.txt" >"$dir/chars.txt" &&
  cmp -s "$dir/list.txt" "$dir/chars.txt" || fail "--chars 300 differs from -l 1"
printf '\377\376' >"$dir/utf16.txt"
iconv -f UTF-8 -t UTF-16LE "$dir/a.txt" >>"$dir/utf16.txt"
"$cli" "$dir/utf16.txt" >"$dir/utf16.out" && "$cli" "$dir/a.txt" | cmp -s - "$dir/utf16.out" ||
  fail "UTF-16 file with a byte order mark"
expect 2 "exclude each other" -- "$cli" --sentences 2 --ratio 10 "$dir/a.txt"
printf 'The tree \360\237\214\263 is green.\n' >"$dir/emoji.txt"
expect 1 "U+1F333" -- "$cli" --output-encoding gbk "$dir/emoji.txt"

expect 1 "$dir/missing.txt" -- "$cli" "$dir/missing.txt"
printf 'ab\377' >"$dir/bad.txt"
expect 1 "bad.txt: not valid UTF-8 at byte 2" -- "$cli" "$dir/bad.txt"
expect 2 "invalid length '9'" -- "$cli" -l 9 "$dir/a.txt"
expect 2 "abrivo-cli --help" -- "$cli" --no-such-option

printf '{"id":1,"content":"The tree."}\nnot json\n{"content":"Green leaves."}\n' |
  "$cli" --jsonl >"$dir/batch.jsonl" || fail "--jsonl exit status"
[ "$(wc -l <"$dir/batch.jsonl")" -eq 3 ] || fail "--jsonl line count: $(cat "$dir/batch.jsonl")"
sed -n 2p "$dir/batch.jsonl" | grep -q '"error"' || fail "--jsonl bad line not in place"

[ "$failures" -eq 0 ] && echo "all program checks passed"
exit $((failures > 0))
