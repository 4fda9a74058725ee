#!/bin/bash
# quill as a released tool: --version, absolute paths (which Windows-style
# option parsing would take for options), many patterns in one call
# (--from, "-" for standard input, --json), and an import that must not
# drop a stored word. The arguments are the command that runs quill (in
# the Windows build: the Wine runner, then quill.exe).
source "$(dirname "$0")/../quill_test_lib.sh"
run() {   # quill with CR LF line ends made LF; quill's exit status
    "${quill[@]}" "$@" > "$work/run.out"
    local status=$?
    tr -d '\r' < "$work/run.out"
    return $status
}

check "version" "quill" "$(run --version | cut -d' ' -f1)"

printf 'cat\ncot\ncut\nact\ntac\ndog\n' > words.txt
run dict import "$work/D.dic" "$work/words.txt" > /dev/null
check "an absolute path is an argument" '{"words":6,' "$(run dict info "$work/D.dic" | cut -c1-11)"

printf 'c?t\r\n\r\nd?g\nzz?\n' > patterns.txt
check "from a file" $'# c?t: 3\ncat\ncot\ncut\n# d?g: 1\ndog\n# zz?: 0' \
    "$(run solve --dict "$work/D.dic" --from patterns.txt)"
check "from standard input" $'# tca: 3\nact\ncat\ntac\n# god: 1\ndog' \
    "$(printf 'tca\ngod\n' | run anagram --dict D.dic --from -)"
check "as JSON lines" $'{"input":"c?t","results":["cat","cot","cut"]}\n{"input":"zz?","results":[]}' \
    "$(printf 'c?t\nzz?\n' | run solve --dict D.dic --from - --json)"
printf 'c?t\n%0130d\n' 0 | run solve --dict D.dic --from - > out.txt 2> /dev/null
check "a line that is no pattern fails" "1" "${PIPESTATUS[1]}"
check "and the others are still searched" $'# c?t: 3' "$(head -1 out.txt)"
run solve --dict D.dic 'c?t' --from patterns.txt > /dev/null 2>&1
check "a pattern and --from exclude each other" "1" "$?"

# A stored word that a new neighbour would push past the encoding limit
# stays; the new word is refused and reported.
printf 'abcdefghijklmnop\r\nabcdefghijklmnoq\x9a\x9a\x9a\x9a\x9a\x9a\x9a\x9a\x9a\x9a\x9a\x9a\x9a\x9a\x9a\r\n' > pair.txt
printf 'Abcdefghijklmnopz\r\n' > next.txt
run dict import E.dic pair.txt > /dev/null
run dict export E.dic > before.txt
check "import keeps the stored words" "words 2" "$(run dict import E.dic next.txt 2> refused.txt)"
run dict export E.dic > after.txt
check "the file holds the same words" "" "$(cmp before.txt after.txt)"
check "the refused word is reported" "1" "$(grep -c 'not stored' refused.txt)"

finish
