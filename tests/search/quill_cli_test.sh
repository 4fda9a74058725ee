#!/bin/bash
# quill's search and Wordsquare commands end to end, with a small
# dictionary imported by quill itself. The arguments are the command that
# runs quill (in the Windows build: the Wine runner, then quill.exe).
# Prints "N passed, M failed" and exits 1 on any failure.
source "$(dirname "$0")/../quill_test_lib.sh"

printf 'cat\ncot\ncut\nact\ntic\ntac\noat\ncar\narc\nquill\nmere\ngrid\nword\nsquare\nseed\n' > words.txt
"${quill[@]}" dict import D.dic words.txt > /dev/null

check "solve" $'cat\ncot\ncut' "$("${quill[@]}" solve --dict D.dic 'c?t')"
check "solve spaces and max" $'act\narc\ncar' "$("${quill[@]}" solve --dict D.dic --max 2 ' . ')"
check "anagram" $'act\ncat\ntac' "$("${quill[@]}" anagram --dict D.dic tca)"
check "anagram star" $'arc\ncar' "$("${quill[@]}" anagram --dict D.dic 'r*c')"

"${quill[@]}" grid new g.qlx --size 3x3 > /dev/null
# Row 0 across and column 0 down: the words agree on the corner.
rows=$("${quill[@]}" fill g.qlx --mark 0,0,2,0 --dict D.dic)
check "fill one part" $'act\narc\ncar\ncat\ncot\ncut\noat\ntac\ntic' "$rows"
"${quill[@]}" fill g.qlx --mark 0,0,2,0 --dict D.dic --apply 3 -o g2.qlx > /dev/null
letters=$("${quill[@]}" grid info g2.qlx | python3 -c 'import json, sys; print(json.load(sys.stdin)["letters"][0])')
check "fill apply writes the row" "cat" "$letters"

# The fixed-seed Wordsquare of the maker's tests, through quill.
"${quill[@]}" grid new w.qlx --size 8x6 --type wordsquare > /dev/null
printf 'quill\nmere\ngrid\nword\nsquare\nseed\n' > list.txt
"${quill[@]}" wordsquare make w.qlx --words list.txt --seed 2024 -o w2.qlx > placed.txt
grid=$("${quill[@]}" grid info w2.qlx | python3 -c 'import json, sys; print("\n".join(json.load(sys.stdin)["letters"]))')
check "make grid" $'qseedcee\nmuxtdxrw\neqiihakt\nrarluxbe\neghqlsht\nypswordt' "$grid"
check "make lines" "6" "$(wc -l < placed.txt | tr -d ' ')"
found=$("${quill[@]}" wordsquare solve w2.qlx --dict D.dic --min 4 | cut -f1 | sort -u | tr '\n' ' ')
check "solve finds the placed words" "grid mere quill seed square word " "$found"

# A list that cannot be fitted: the time limit stops it like Stop.
printf 'aaa\nbbb\nccc\nddd\neee\nfff\nggg\nhhh\niii\nabcdefghijklmnop\n' > hard.txt
"${quill[@]}" wordsquare make w.qlx --words hard.txt --seed 1 --timeout 1 -o w3.qlx > /dev/null 2> message.txt
status=$?
check "timeout status" "2" "$status"
check "timeout message" "Fitted" "$(cut -c1-6 message.txt)"

finish
