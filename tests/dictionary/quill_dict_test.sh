#!/usr/bin/env bash
# quill dict as a script would use it: import, add, delete, find, export,
# info and check, and a damaged file refused with its reason.
#   quill_dict_test.sh QUILL TEST_DATA
set -u
quill=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() {   # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}

printf 'New York\r\napple pie\r\nZebra\n\nzebra\n' > "$work/words.txt"
printf 'ice cream\nice zone\n' > "$work/raw.txt"
check "import creates" "$quill" dict import "$work/d.dic" "$work/words.txt" >/dev/null
check "raw import" "$quill" dict import --raw "$work/d.dic" "$work/raw.txt" >/dev/null
check "add" "$quill" dict add "$work/d.dic" iceberg Apple >/dev/null
check "find prints the stored spelling" test "$("$quill" dict find "$work/d.dic" APPLE)" = "Apple"
check "fast find across a spaced word" test "$("$quill" dict find --fast "$work/d.dic" iceberg)" = "iceberg"
"$quill" dict find "$work/d.dic" nothing >/dev/null
check "find exits 1 when absent" test $? -eq 1
check "delete" "$quill" dict delete "$work/d.dic" applepie
"$quill" dict delete "$work/d.dic" applepie 2>/dev/null
check "delete exits 1 when absent" test $? -eq 1
printf 'Apple\r\nice cream\r\nice zone\r\niceberg\r\nNewyork\r\nzebra\r\n' > "$work/expected.txt"
"$quill" dict export "$work/d.dic" > "$work/out.txt"
check "export writes CR LF" cmp -s "$work/out.txt" "$work/expected.txt"
"$quill" dict export "$work/d.dic" "$work/out2.txt"
check "export to a file" cmp -s "$work/out2.txt" "$work/expected.txt"
check "info" test "$("$quill" dict info "$work/d.dic")" = \
  '{"words":6,"index_entries":1,"word_block_bytes":37,"file_bytes":357,"words_with_spaces":2}'
check "check passes" "$quill" dict check "$work/d.dic" >/dev/null
"$quill" dict add "$work/d.dic" "$(printf 'x%.0s' $(seq 32))" 2>/dev/null
check "a 32-byte word is refused" test $? -eq 2

cp "$data/dictionary/three.dic" "$work/bad.dic"
printf '\x7a' | dd of="$work/bad.dic" bs=1 seek=285 conv=notrunc 2>/dev/null
message=$("$quill" dict check "$work/bad.dic" 2>&1)
check "a damaged file fails the check" test $? -eq 1
check "with its reason" grep -q "Corruption in file" <<<"$message"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
