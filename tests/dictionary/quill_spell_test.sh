#!/bin/bash
# quill spell and quill suggest end to end: tab-separated lines, the
# spell check's order, known words too for suggest. The arguments are the
# command that runs quill (in the Windows build: the Wine runner, then
# quill.exe). Prints "N passed, M failed" and exits 1 on any failure.
source "$(dirname "$0")/../quill_test_lib.sh"

printf 'cat\ncot\ncut\nact\ntac\noat\ncar\n' > full.txt
printf 'cot\ncut\nact\nscat\n' > small.txt
printf 'Cot\nwonderful\n' > other.txt
"${quill[@]}" dict import Full.dic full.txt > /dev/null
"${quill[@]}" dict import Small.dic small.txt > /dev/null
"${quill[@]}" dict import Other.dic other.txt > /dev/null

# "cot" and "Cot" are one word: listed once, in the later dictionary's spelling.
check "suggest: each word in order, known ones too, one spelling from two dictionaries" \
    $'cat\tact\tCot\tcut\tscat\nwonderfl\twonderful\ncta\tCot' \
    "$("${quill[@]}" suggest --dict Small.dic --dict Other.dic cat wonderfl cta)"

# A 3 x 3 grid whose top row is "cat" and whose other cells are empty:
# only the top row is a complete word.
"${quill[@]}" grid new g.qlx --size 3x3 > /dev/null
rows=$("${quill[@]}" fill g.qlx --mark 0,0,2,0 --dict Full.dic | tr -d '\r')
k=$(printf '%s\n' "$rows" | grep -n -x cat | cut -d: -f1)
"${quill[@]}" fill g.qlx --mark 0,0,2,0 --dict Full.dic --apply $((k - 1)) -o g2.qlx > /dev/null
check "spell: the unknown complete word" $'cat\tact\tcot\tcut\tscat' \
    "$("${quill[@]}" spell g2.qlx --dict Small.dic)"
check "spell: nothing unknown" "" "$("${quill[@]}" spell g2.qlx --dict Full.dic)"

finish
