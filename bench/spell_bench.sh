#!/bin/bash
# Spelling suggestions against Debian's aspell (its fastest mode, "ultra")
# and hunspell, in the same run: 500 one-edit misspellings of MainDict
# words (a letter dropped, added, replaced or two swapped, never the first
# letter, none of them a word of the list), each program given all of them
# at once; a second 500 with the edit at the first letter give a second
# recall column (the checker never replaces a first letter, by design).
# Per-word time is the marginal cost: (time for 500 - time for 1)
# / 499, so start-up and dictionary loading cancel out. Recall is the
# share of misspellings whose original word is among the suggestions.
# (hunspell takes far longer than the others: expect minutes.)
#
#   bench/spell_bench.sh BUILD_DIR     (the bench preset's build directory)
set -euo pipefail
build=${1:-build/bench}
list=${QM_WORD_LIST:-/usr/share/dict/american-english}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

need=()
command -v aspell >/dev/null || need+=(aspell)
[ -d /usr/lib/aspell ] && ls /usr/lib/aspell/en* >/dev/null 2>&1 || need+=(aspell-en)
command -v hunspell >/dev/null || need+=(hunspell)
[ -f /usr/share/hunspell/en_US.dic ] || need+=(hunspell-en-us)
[ -f "$list" ] || need+=(wamerican)
if [ ${#need[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${need[@]}" >/dev/null
fi

"$build/quill" dict import "$work/MainDict.dic" "$list" >/dev/null

# The misspellings (fixed seed), as "misspelling original" lines: the
# timed set with the edit after the first letter, and a second set with the
# edit at the first letter (a swap of the first two letters when the kind
# is a swap), for recall only.
python3 - "$list" "$work/pairs.txt" "$work/first_pairs.txt" <<'PY'
import random, re, sys
words = [w.strip() for w in open(sys.argv[1], encoding='latin-1')]
known = set(w.lower() for w in words)
plain = [w for w in words if re.fullmatch('[a-z]{4,12}', w)]
rng = random.Random(2026)

def misspellings(first, path):
    pairs = []
    while len(pairs) < 500:
        w = rng.choice(plain)
        at = 0 if first else rng.randrange(1, len(w))
        kind = rng.randrange(4)
        letter = rng.choice('abcdefghijklmnopqrstuvwxyz')
        if kind == 0:
            q = w[:at] + w[at + 1:]
        elif kind == 1:
            q = w[:at] + letter + w[at:]
        elif kind == 2:
            q = w[:at] + letter + w[at + 1:]
        elif at + 1 < len(w):
            q = w[:at] + w[at + 1] + w[at] + w[at + 2:]
        else:
            continue
        if q.lower() not in known:
            pairs.append((q, w))
    with open(path, 'w') as f:
        for q, w in pairs:
            f.write(f'{q} {w}\n')

misspellings(False, sys.argv[2])
misspellings(True, sys.argv[3])
PY
cut -d' ' -f1 "$work/pairs.txt" > "$work/all.txt"
cut -d' ' -f1 "$work/first_pairs.txt" > "$work/first.txt"
head -1 "$work/all.txt" > "$work/one.txt"

now() { date +%s.%N; }
# Wall time of a command reading one file, its output kept in another.
timed() {
    local in=$1 out=$2; shift 2
    local t0 t1
    t0=$(now)
    "$@" < "$in" > "$out" 2>/dev/null || true
    t1=$(now)
    python3 -c "print($t1 - $t0)"
}

quill_run() { xargs "$build/quill" suggest --dict "$work/MainDict.dic"; }
aspell_run() { aspell -a --lang=en_US --sug-mode=ultra; }
hunspell_run() { hunspell -a -d en_US; }

# Each program once with all the words (its output is what recall is
# measured on) and once with one word.
declare -A per_word
for tool in quill aspell hunspell; do
    all=$(timed "$work/all.txt" "$work/$tool.out" "${tool}_run")
    one=$(timed "$work/one.txt" /dev/null "${tool}_run")
    per_word[$tool]=$(python3 -c "print(max(0.0, ($all - $one) / 499))")
    "${tool}_run" < "$work/first.txt" > "$work/$tool.first.out" 2>/dev/null || true
done

python3 - "$work" "${per_word[quill]}" "${per_word[aspell]}" "${per_word[hunspell]}" <<'PY'
import sys
work = sys.argv[1]
times = dict(zip(('quill', 'aspell', 'hunspell'), map(float, sys.argv[2:5])))
pairs = [l.split() for l in open(f'{work}/pairs.txt')]

def ispell_suggestions(path):
    # "& word n offset: a, b" or "# word offset" per word, "*" for a known
    # word; one blank line after each input line.
    out, current = [], None
    for line in open(path, encoding='latin-1'):
        line = line.rstrip('\n')
        if line.startswith('@(#)'):
            continue
        if line == '':
            out.append(current if current is not None else [])
            current = None
        elif line.startswith('&'):
            current = [s.strip() for s in line.split(':', 1)[1].split(',')]
        elif line[0] in '#*+-':
            current = []
    return out

suggested = {
    'quill': [l.rstrip('\n').split('\t')[1:] for l in open(f'{work}/quill.out', encoding='latin-1')],
    'aspell': ispell_suggestions(f'{work}/aspell.out'),
    'hunspell': ispell_suggestions(f'{work}/hunspell.out'),
}
first_pairs = [l.split() for l in open(f'{work}/first_pairs.txt')]
first_suggested = {
    'quill': [l.rstrip('\n').split('\t')[1:] for l in open(f'{work}/quill.first.out', encoding='latin-1')],
    'aspell': ispell_suggestions(f'{work}/aspell.first.out'),
    'hunspell': ispell_suggestions(f'{work}/hunspell.first.out'),
}

def recall(pairs, lists):
    return sum(1 for (q, w), s in zip(pairs, lists) if w in s) / len(pairs)

print(f"{'spelling (500 one-edit misspellings)':38} {'per word':>10} {'vs aspell':>10} {'recall':>8} {'mean sugg.':>10} {'recall, 1st letter':>19}")
for tool in ('quill', 'aspell', 'hunspell'):
    lists = suggested[tool]
    mean = sum(len(s) for s in lists) / max(1, len(lists))
    ratio = times[tool] / times['aspell'] if times['aspell'] > 0 else float('nan')
    print(f"{tool:38} {times[tool] * 1e3:>8.3f}ms {ratio:>9.2f}x {recall(pairs, lists):>7.1%} {mean:>10.1f}"
          f" {recall(first_pairs, first_suggested[tool]):>18.1%}")
PY
