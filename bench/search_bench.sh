#!/bin/bash
# The searches' figures: runs search_bench (in-process baselines) and times
# whole processes against their peers on the same word list: `quill solve`
# of one pattern against `grep`, `quill anagram` of one word against
# `an -l 1`, and `quill fill` of a full 5 x 5 square against `qxw -b` (each
# with its start-up and dictionary load; runs alternate, medians of wall
# and CPU time; each command is started directly, without a shell). The
# quill runs load through the check stamp the first of them writes beside
# the .dic; one row repeats a search with the stamp made impossible (a
# directory of its name), so every load walks the whole store as a
# read-only directory would. Prints two tables: in process (our figure, the baseline's,
# and the speed-up, baseline / ours: above 1 is faster), with the first
# query after loading (no tables yet) beside the per-query figures; and
# whole processes (ours / theirs: below 1 is faster).
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
[ -f /usr/share/dict/american-english-huge ] || need+=(wamerican-huge)
if [ ${#need[@]} -gt 0 ]; then
    apt-get install -y "${need[@]}" >/dev/null
fi

"$build/bench/search_bench" --benchmark_format=json --benchmark_out="$work/search.json" \
    --benchmark_out_format=json >/dev/null

# MainDict for quill, and a 5 x 5 crossword with nothing in it.
"$build/quill" dict import "$work/MainDict.dic" "$list" >/dev/null 2>&1
huge_list=/usr/share/dict/american-english-huge
"$build/quill" dict import "$work/Huge.dic" "$huge_list" >/dev/null 2>&1
mkdir "$work/walked" && cp "$work/MainDict.dic" "$work/walked/" && mkdir "$work/walked/MainDict.dck"
"$build/quill" grid new "$work/square.qlx" --size 5x5 >/dev/null
python3 - "$work/deck.qxd" <<'PY'
import sys
rows = [' '.join('%02d' % (r * 5 + c) for c in range(5)) for r in range(5)]
cols = [' '.join('%02d' % (r * 5 + c) for r in range(5)) for c in range(5)]
open(sys.argv[1], 'w').write('\n'.join(rows + cols) + '\n')
PY

# Whole processes: two commands run alternately; medians of wall and CPU
# time (user + system) in milliseconds, one JSON line.
whole() {
    python3 - "$@" <<'PY'
import json, os, shlex, statistics, subprocess, sys, time
name, runs, ours, theirs = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
# The output goes through a pipe that is read to the end, as in a terminal
# or a pipeline: grep takes standard output on /dev/null for -q and stops
# at its first match, which is not the work being compared.
def once(cmd):
    t0 = time.perf_counter()
    p = subprocess.Popen(shlex.split(cmd), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    while p.stdout.read(65536):
        pass
    p.stdout.close()
    _, _, usage = os.wait4(p.pid, 0)
    return (time.perf_counter() - t0) * 1e3, (usage.ru_utime + usage.ru_stime) * 1e3
times = {ours: [], theirs: []}
for _ in range(runs):
    for cmd in (ours, theirs):
        times[cmd].append(once(cmd))
def med(cmd, i):
    return statistics.median(t[i] for t in times[cmd])
print(json.dumps({'name': name, 'ours_wall': med(ours, 0), 'ours_cpu': med(ours, 1),
                  'theirs_wall': med(theirs, 0), 'theirs_cpu': med(theirs, 1)}))
PY
}

quill=$build/quill
dict=$work/MainDict.dic
{
    "$quill" solve --dict "$dict" 'c?t' >/dev/null        # writes the stamp
    "$quill" solve --dict "$work/Huge.dic" 'c?t' >/dev/null
    whole solve_c_t 21 "$quill solve --dict $dict c?t" "grep -i -x -c c.t $list"
    whole solve_c_t_walked 21 "$quill solve --dict $work/walked/MainDict.dic c?t" "grep -i -x -c c.t $list"
    whole solve_c_t_huge 21 "$quill solve --dict $work/Huge.dic c?t" "grep -i -x -c c.t $huge_list"
    whole solve_blank_first 21 "$quill solve --dict $dict ?ater" "grep -i -x -c .ater $list"
    whole solve_all_blank 21 "$quill solve --dict $dict ????? --max 100000" "grep -i -x -c ..... $list"
    whole anagram_listen 21 "$quill anagram --dict $dict listen" "/usr/games/an -l 1 -d $list listen"
    whole anagram_sartorial 21 "$quill anagram --dict $dict sartorial" "/usr/games/an -l 1 -d $list sartorial"
    whole anagram_listen_huge 11 "$quill anagram --dict $work/Huge.dic listen" "/usr/games/an -l 1 -d $huge_list listen"
    whole fill_square 5 "$quill fill $work/square.qlx --mark 0,0,4,4 --max 0 --dict $dict" \
        "/usr/games/qxw -b -d $list $work/deck.qxd"
} > "$work/whole.json"

python3 - "$work/search.json" "$work/whole.json" <<'PY'
import json, sys
runs = {b['name'].split('/')[0]: b for b in json.load(open(sys.argv[1]))['benchmarks']}
whole = {w['name']: w for w in map(json.loads, open(sys.argv[2]))}
unit = {'ns': 1e-9, 'us': 1e-6, 'ms': 1e-3, 's': 1.0}
def ran(name):
    return name in runs and not runs[name].get('error_occurred')
def seconds(name):
    b = runs[name]
    return b['real_time'] * unit[b['time_unit']]
def per_query(name):
    return runs[name]['s_per_query']
def worst(name):
    return runs[name]['worst_s']
def fmt(s):
    return '%.3g ms' % (s * 1e3) if s >= 1e-3 else '%.3g us' % (s * 1e6)
scan = seconds('solve_baseline_scan_median')
rows = [
    ('Solve, median per pattern (200)', seconds('solve_pattern_median'), 'length-bucketed vector scan', scan),
    ('Solve, known first letter, median', seconds('solve_known_first_median'), 'length-bucketed vector scan', seconds('solve_baseline_scan_known_first')),
    ('Solve, first query after load, median', seconds('first_query_pattern'), 'length-bucketed vector scan', scan),
    ('Solve, first query after load, worst', worst('first_query_pattern'), '-', None),
]
if ran('first_query_pattern_large'):
    rows += [('Solve, first query, huge list, median', seconds('first_query_pattern_large'), '-', None),
             ('Solve, first query, huge list, worst', worst('first_query_pattern_large'), '-', None)]
rows += [
    ('Anagram, 5-10 letters, per query', per_query('anagram_letters'), '-', None),
    ('Anagram, first query after load, median', seconds('first_query_anagram'), '-', None),
    ('Anagram, first query after load, worst', worst('first_query_anagram'), '-', None),
]
if ran('first_query_anagram_large'):
    rows += [('Anagram, first query, huge list, median', seconds('first_query_anagram_large'), '-', None),
             ('Anagram, first query, huge list, worst', worst('first_query_anagram_large'), '-', None)]
rows += [
    ('Anagram, one *, per query', per_query('anagram_one_star'), 'sorted-letter hash, 1 look-up per blank', per_query('anagram_baseline_hash_one_star')),
    ('Fill, 3-part corner, 1001 rows', seconds('fill_corner_1001'), 'plain walks (same rows)', seconds('fill_corner_1001_plain')),
    ('Fill, 5x5 square, first solution', seconds('fill_square_first'), '-', None),
    ('Wordsquare solve 127x127, min 5', seconds('wordsquare_solve_127'), 'pointer trie', seconds('wordsquare_baseline_trie_127')),
    ('Wordsquare solve 127x127, min 5', seconds('wordsquare_solve_127'), 'hash set of words', seconds('wordsquare_baseline_hash_127')),
    ('Wordsquare New 15x15', seconds('wordsquare_new_15'), '-', None),
]
print('In process (MainDict; the huge list is wamerican-huge)')
print('%-46s %12s  %-42s %12s %9s' % ('search', 'ours', 'baseline', 'baseline', 'speed-up'))
for name, ours, base_name, base in rows:
    ratio = '%.2fx' % (base / ours) if base else '-'
    print('%-46s %12s  %-42s %12s %9s' % (name, fmt(ours), base_name, fmt(base) if base else '-', ratio))
ws = runs['wordsquare_solve_127']
print('Wordsquare trie: %.2f MB; the words as std::vector<std::string>: %.2f MB' %
      (ws['trie_bytes'] / 1e6, ws['vector_string_bytes'] / 1e6))
print()
print('Whole process (start-up and dictionary load included; medians of alternating runs)')
print('%-34s %18s  %-22s %18s  %s' % ('command', 'wall / cpu', 'baseline', 'wall / cpu', 'ours / theirs (wall, cpu)'))
labels = [('solve_c_t', "quill solve c?t", 'grep -i -x c.t'),
          ('solve_c_t_walked', "quill solve c?t, no stamp", 'grep -i -x c.t'),
          ('solve_c_t_huge', "quill solve c?t, huge list", 'grep -i -x c.t, huge'),
          ('solve_blank_first', "quill solve ?ater", 'grep -i -x .ater'),
          ('solve_all_blank', "quill solve ?????", 'grep -i -x .....'),
          ('anagram_listen', 'quill anagram listen', 'an -l 1 listen'),
          ('anagram_sartorial', 'quill anagram sartorial', 'an -l 1 sartorial'),
          ('anagram_listen_huge', 'quill anagram listen, huge list', 'an -l 1 listen, huge'),
          ('fill_square', 'quill fill 5x5, first solution', 'qxw -b')]
for key, ours_name, theirs_name in labels:
    w = whole[key]
    print('%-34s %7.1f / %5.1f ms  %-22s %7.1f / %5.1f ms  %5.2f, %5.2f' % (
        ours_name, w['ours_wall'], w['ours_cpu'], theirs_name, w['theirs_wall'], w['theirs_cpu'],
        w['ours_wall'] / w['theirs_wall'], w['ours_cpu'] / max(w['theirs_cpu'], 1e-6)))
PY
