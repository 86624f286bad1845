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

# Standard input that cannot be read, and output that cannot be written.
expect 1 "cannot read <stdin>: Is a directory" -- "$cli" <"$dir"
expect 1 "cannot read <stdin>: Is a directory" -- "$cli" --jsonl -j 2 <"$dir"
expect 1 "cannot read <stdin>: Bad file descriptor" -- "$cli" <&-
for args in --help --version "--sample 1"; do
  # shellcheck disable=SC2086
  "$cli" $args >/dev/full 2>"$dir/err"
  [ $? -eq 1 ] && grep -q "cannot write" "$dir/err" || fail "$args >/dev/full"
  # shellcheck disable=SC2086
  "$cli" $args >&- 2>"$dir/err"
  [ $? -eq 1 ] && grep -q "cannot write" "$dir/err" || fail "$args with stdout closed"
done

# --max-bytes: a file from its size, a stream while it is read.
expect 1 "a.txt: larger than 10 bytes (see --max-bytes)" -- "$cli" --max-bytes 10 "$dir/a.txt"
expect 1 "<stdin>: larger than 10 bytes" -- "$cli" --max-bytes 10 - <"$dir/a.txt"
"$cli" --max-bytes 50 "$dir/a.txt" >/dev/null || fail "--max-bytes at the file's size"

# Two processes appending to one file: every line whole.
for i in $(seq 300); do printf '{"id":%d,"content":"The tree number %d is green and tall."}\n' "$i" "$i"; done >"$dir/many.jsonl"
"$cli" --jsonl <"$dir/many.jsonl" >>"$dir/appended" &
"$cli" --jsonl -j 2 <"$dir/many.jsonl" >>"$dir/appended"
wait $! || fail "concurrent append exit status"
[ "$(grep -cE '^\{"id":[0-9]+,"language":"en",.*"selected":(true|false)\}\]\}$' "$dir/appended")" -eq 600 ] ||
  fail "concurrent appends mixed their lines"

# -j: the same bytes as one job, from the program too.
printf 'not json\n\n{"id":-0,"content":"x"}\n' >>"$dir/many.jsonl"
"$cli" --jsonl <"$dir/many.jsonl" >"$dir/one.jsonl" || fail "-j 1 exit status"
"$cli" --jsonl -j 3 <"$dir/many.jsonl" >"$dir/three.jsonl" || fail "-j 3 exit status"
cmp -s "$dir/one.jsonl" "$dir/three.jsonl" || fail "-j 3 output differs from -j 1"
[ "$(wc -l <"$dir/three.jsonl")" -eq 302 ] || fail "-j 3 line count"

[ "$failures" -eq 0 ] && echo "all program checks passed"
exit $((failures > 0))
