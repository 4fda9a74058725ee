#!/bin/bash
# Many patterns in one call: `quill solve --from` on 10,000 patterns (one
# process, the dictionary loaded once) against `quill solve PATTERN` run as
# a process per pattern (a sample of 50), both per pattern, wall time.
#
#   bench/from_bench.sh BUILD_DIR     (the bench preset's build directory)
set -euo pipefail
build=${1:-build/bench}
list=${QM_WORD_LIST:-/usr/share/dict/american-english}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/quill" dict import "$work/MainDict.dic" "$list" >/dev/null
# 10,000 patterns from the list's lower-case words of 3 to 12 letters,
# every other letter unknown (a fixed choice: the same patterns every run).
python3 - "$list" "$work/patterns.txt" <<'PY'
import sys
words = [w for w in open(sys.argv[1], encoding='latin-1').read().split('\n')
         if 3 <= len(w) <= 12 and w.isascii() and w.isalpha() and w.islower()]
step = max(1, len(words) // 10000)
with open(sys.argv[2], 'w') as out:
    for w in words[::step][:10000]:
        out.write(''.join(c if i % 2 == 0 else '?' for i, c in enumerate(w)) + '\n')
PY
now() { date +%s.%N; }
t0=$(now)
"$build/quill" solve --dict "$work/MainDict.dic" --from "$work/patterns.txt" >"$work/out.txt"
t1=$(now)
head -50 "$work/patterns.txt" >"$work/sample.txt"
t2=$(now)
while read -r p; do "$build/quill" solve --dict "$work/MainDict.dic" "$p" >/dev/null; done <"$work/sample.txt"
t3=$(now)
python3 - "$t0" "$t1" "$t2" "$t3" "$(wc -l <"$work/patterns.txt")" <<'PY'
import sys
t0, t1, t2, t3 = (float(x) for x in sys.argv[1:5])
n = int(sys.argv[5])
many, single = (t1 - t0) / n, (t3 - t2) / 50
fmt = lambda s: '%.3g ms' % (s * 1e3) if s >= 1e-3 else '%.3g us' % (s * 1e6)
print(f"{'quill solve --from, per pattern (%d)' % n:44} {fmt(many):>10}   "
      f"{'a process per pattern':24} {fmt(single):>10}   {single / many:7.1f}x faster")
PY
