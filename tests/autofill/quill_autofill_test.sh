#!/bin/bash
# quill autofill end to end: a fill written to -o and checked, --print, a
# grid with no fill (exit 1, nothing written), the same seed giving the
# same fill, and unusable input (exit 3). The arguments are the command
# that runs quill (in the Windows build: the Wine runner, then quill.exe).
# Prints "N passed, M failed" and exits 1 on any failure.
source "$(dirname "$0")/../quill_test_lib.sh"

letters() {   # the rows of a grid file's letters, one line each
    "${quill[@]}" grid info "$1" |
        python3 -c 'import json, sys; print("\n".join(json.load(sys.stdin)["letters"]))' 2> /dev/null
}

# Every 3-letter word over a-d whose letters rise or fall by one step
# at most: enough for a 3 x 3 square.
python3 -c '
import itertools
for w in itertools.product("abcd", repeat=3):
    print("".join(w))' > words.txt
"${quill[@]}" dict import D.dic words.txt > /dev/null
"${quill[@]}" grid new g.qlx --size 3x3 > /dev/null
cp g.qlx g.orig

"${quill[@]}" autofill g.qlx --dict D.dic --seed 5 -o out.qlx 2> err.txt
check "fill exit" "0" "$?"
check "fill leaves the grid file alone with -o" "" "$(cmp g.qlx g.orig)"
fill=$(letters out.qlx)
check "fill: each row and column a distinct word" "ok" "$(printf '%s\n' "$fill" | python3 -c '
import sys
rows = sys.stdin.read().split()
cols = ["".join(r[c] for r in rows) for c in range(3)]
words = set(open("words.txt").read().split())
runs = rows + cols
print("ok" if all(len(w) == 3 and w in words for w in runs) and len(set(runs)) == 6 else runs)')"
"${quill[@]}" autofill g.qlx --dict D.dic --seed 5 -o again.qlx 2> /dev/null
check "same seed, same fill" "$fill" "$(letters again.qlx)"
printed=$("${quill[@]}" autofill g.qlx --dict D.dic --seed 5 --print 2> /dev/null |
          python3 -c 'import json, sys; print("\n".join(json.load(sys.stdin)["letters"]))')
check "--print prints the fill" "$fill" "$printed"
check "--print leaves the grid file alone" "" "$(cmp g.qlx g.orig)"

# Three words for the six runs of a 3 x 3 square: no fill without a repeat.
printf 'abc\nbca\ncab\n' > three.txt
"${quill[@]}" dict import T.dic three.txt > /dev/null
"${quill[@]}" grid new small.qlx --size 3x3 > /dev/null
cp small.qlx small.orig
"${quill[@]}" autofill small.qlx --dict T.dic --seed 1 2> err.txt
check "no fill: exit 1" "1" "$?"
check "no fill: message" "autofill: no fill exists" "$(head -c 24 err.txt)"
check "no fill: grid untouched" "" "$(cmp small.qlx small.orig)"

# A rectangle: only row 0 is filled.
"${quill[@]}" autofill g.qlx --dict D.dic --seed 3 --mark 0,0,2,0 -o row.qlx 2> /dev/null
check "--mark exit" "0" "$?"
check "--mark fills only the rectangle" "0 ___ ___" "$(letters row.qlx | head -1 | tr -cd ' ' | wc -c | tr -d ' ') $(letters row.qlx | sed -n 2,3p | tr ' ' '_' | tr '\n' ' ' | sed 's/ $//')"

"${quill[@]}" autofill g.qlx --dict D.dic --mark 0,0,9,9 2> err.txt
check "--mark outside: exit 3" "3" "$?"
"${quill[@]}" autofill missing.qlx --dict D.dic 2> err.txt
check "missing grid: exit 3" "3" "$?"
check "the grid file was never written" "" "$(cmp g.qlx g.orig)"

finish
