#!/bin/bash
# The searches' figures: runs search_bench (in-process baselines) and times
# what runs outside it: Debian's `an -l 1` per anagram query against ours,
# and `qxw -b` filling a full 5 x 5 square against `quill fill` doing the
# same (both with their start-up and dictionary load). Prints one table:
# our figure, the baseline's, and the speed-up (baseline / ours: above 1
# is faster than the baseline).
#
#   bench/search_bench.sh BUILD_DIR     (the bench preset's build directory)
set -euo pipefail
build=${1:-build/bench}
list=${QM_WORD_LIST:-/usr/share/dict/american-english}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

need=()
command -v /usr/games/an >/dev/null || need+=(an)
command -v /usr/games/qxw >/dev/null || need+=(qxw)
[ -f "$list" ] || need+=(wamerican)
if [ ${#need[@]} -gt 0 ]; then
    apt-get install -y "${need[@]}" >/dev/null
fi

"$build/bench/search_bench" --benchmark_format=json --benchmark_out="$work/search.json" \
    --benchmark_out_format=json >/dev/null

# MainDict for quill, and a 5 x 5 crossword with nothing in it.
"$build/quill" dict import "$work/MainDict.dic" "$list" >/dev/null
"$build/quill" grid new "$work/square.qlx" --size 5x5 >/dev/null
python3 - "$work/deck.qxd" <<'PY'
import sys
rows = [' '.join('%02d' % (r * 5 + c) for c in range(5)) for r in range(5)]
cols = [' '.join('%02d' % (r * 5 + c) for r in range(5)) for c in range(5)]
open(sys.argv[1], 'w').write('\n'.join(rows + cols) + '\n')
PY

now() { date +%s.%N; }
# Mean wall time of a command run N times.
timed() {
    local n=$1; shift
    local t0 t1
    t0=$(now)
    for _ in $(seq "$n"); do "$@" >/dev/null 2>&1 || true; done
    t1=$(now)
    python3 -c "print(($t1 - $t0) / $n)"
}

queries=(listen sartorial thermal counter dialogue persona recanted gardening bristle pantries)
an_total=0
for q in "${queries[@]}"; do
    t=$(timed 1 /usr/games/an -l 1 -d "$list" "$q")
    an_total=$(python3 -c "print($an_total + $t)")
done
an_per_query=$(python3 -c "print($an_total / ${#queries[@]})")
qxw_fill=$(timed 5 /usr/games/qxw -b -d "$list" "$work/deck.qxd")
quill_fill=$(timed 5 "$build/quill" fill "$work/square.qlx" --mark 0,0,4,4 --max 0 --dict "$work/MainDict.dic")

python3 - "$work/search.json" "$an_per_query" "$qxw_fill" "$quill_fill" <<'PY'
import json, sys
runs = {b['name'].split('/')[0]: b for b in json.load(open(sys.argv[1]))['benchmarks']}
an, qxw, quill = (float(x) for x in sys.argv[2:5])
unit = {'ns': 1e-9, 'us': 1e-6, 'ms': 1e-3, 's': 1.0}
def seconds(name):
    b = runs[name]
    return b['real_time'] * unit[b['time_unit']]
def per_query(name):
    return runs[name]['s_per_query']
def fmt(s):
    return '%.3g ms' % (s * 1e3) if s >= 1e-3 else '%.3g us' % (s * 1e6)
rows = [
    ('Solve, median per pattern (200)', seconds('solve_pattern_median'), 'length-bucketed vector scan', seconds('solve_baseline_scan_median')),
    ('Solve, known first letter, median', seconds('solve_known_first_median'), 'length-bucketed vector scan', seconds('solve_baseline_scan_known_first')),
    ('Anagram, 5-10 letters, per query', per_query('anagram_letters'), 'an -l 1 (process)', an),
    ('Anagram, one *, per query', per_query('anagram_one_star'), 'sorted-letter hash, 1 look-up per blank', per_query('anagram_baseline_hash_one_star')),
    ('Fill, 3-part corner, 1001 rows', seconds('fill_corner_1001'), 'plain walks (same rows)', seconds('fill_corner_1001_plain')),
    ('Fill, 5x5 square, first solution (in process)', seconds('fill_square_first'), 'qxw -b (process)', qxw),
    ('Fill, 5x5 square, quill fill (process)', quill, 'qxw -b (process)', qxw),
    ('Wordsquare solve 127x127, min 5', seconds('wordsquare_solve_127'), 'pointer trie', seconds('wordsquare_baseline_trie_127')),
    ('Wordsquare solve 127x127, min 5', seconds('wordsquare_solve_127'), 'hash set of words', seconds('wordsquare_baseline_hash_127')),
    ('Wordsquare New 15x15', seconds('wordsquare_new_15'), '-', None),
]
print('%-46s %12s  %-42s %12s %9s' % ('search', 'ours', 'baseline', 'baseline', 'speed-up'))
for name, ours, base_name, base in rows:
    ratio = '%.2fx' % (base / ours) if base else '-'
    print('%-46s %12s  %-42s %12s %9s' % (name, fmt(ours), base_name, fmt(base) if base else '-', ratio))
ws = runs['wordsquare_solve_127']
print('Wordsquare trie: %.2f MB; the words as std::vector<std::string>: %.2f MB' %
      (ws['trie_bytes'] / 1e6, ws['vector_string_bytes'] / 1e6))
PY
