#!/usr/bin/env python3
"""Autofill against `qxw -b` (Debian's qxw, a crossword editor) on the same
grids and the same word list, in one run, each as a whole process with its
dictionary loading included:

  - the 15 x 15 grid of bench/data/grid15.txt (median of 5 seeds for quill);
  - empty 5 x 5 and 6 x 6 squares, also against `quill fill --max 0`
    (Solve's first solution);
  - the empty 7 x 7 square within 60 s (one seed, one qxw run).

The word list is Debian's wamerican without its possessive "'s" lines
(QM_WORD_LIST overrides), imported by quill as MainDict. Times are CPU
seconds (user + system) of the process, which a busy machine disturbs less
than wall time; wall time and peak resident memory are shown beside them.

  bench/autofill_bench.py BUILD_DIR
"""
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else 'build/bench')
quill = os.path.join(build, 'quill')
qxw = '/usr/games/qxw'
tools = os.path.join(here, 'grid_tools.py')


def measure(cmd, limit=None):
    # The peak memory comes from GNU time: a child's own rusage would count
    # the Python image it was forked from.
    peak = os.path.join(tempfile.gettempdir(), 'autofill_bench_peak.%d' % os.getpid())
    errors = tempfile.TemporaryFile()
    t0 = time.monotonic()
    p = subprocess.Popen(['/usr/bin/time', '-f', '%M', '-o', peak] + cmd, stdout=subprocess.DEVNULL,
                         stderr=errors, start_new_session=True)
    deadline = t0 + limit if limit else None
    while True:
        pid, status, usage = os.wait4(p.pid, os.WNOHANG)
        if pid:
            break
        if deadline and time.monotonic() > deadline:
            os.killpg(p.pid, signal.SIGKILL)   # time and the program it runs
            pid, status, usage = os.wait4(p.pid, 0)
            break
        time.sleep(0.002)
    p.returncode = os.waitstatus_to_exitcode(status)
    wall = time.monotonic() - t0
    try:
        kb = int(open(peak).read().split()[-1])
    except (OSError, ValueError, IndexError):
        kb = 0   # killed at the limit: GNU time wrote no figure
    errors.seek(0)
    said = errors.read().decode('latin-1').strip().splitlines()
    return {'status': p.returncode, 'cpu': usage.ru_utime + usage.ru_stime, 'wall': wall,
            'kb': kb, 'limited': bool(deadline and wall > limit), 'said': said[-1] if said else ''}


def median_run(cmds, limit=None):
    runs = [measure(c, limit) for c in cmds]
    pick = lambda k: statistics.median(r[k] for r in runs)
    return {'status': [r['status'] for r in runs], 'cpu': pick('cpu'), 'wall': pick('wall'),
            'kb': max(r['kb'] for r in runs), 'limited': any(r['limited'] for r in runs),
            'said': [r['said'] for r in runs]}


def main():
    missing = [pkg for path, pkg in ((qxw, 'qxw'), ('/usr/bin/time', 'time')) if not os.path.exists(path)]
    if missing:
        subprocess.run(['apt-get', 'install', '-y'] + missing, stdout=subprocess.DEVNULL, check=True)
    work = tempfile.mkdtemp()
    try:
        source = os.environ.get('QM_WORD_LIST', '/usr/share/dict/american-english')
        words = os.path.join(work, 'words.txt')
        with open(source, encoding='latin-1') as f, open(words, 'w', encoding='latin-1') as g:
            g.writelines(line for line in f if not line.rstrip('\n').endswith("'s"))
        dic = os.path.join(work, 'MainDict.dic')
        subprocess.run([quill, 'dict', 'import', dic, words], stdout=subprocess.DEVNULL, check=True)

        grids = [('15x15 grid', os.path.join(here, 'data', 'grid15.txt'), 60)]
        for n in (5, 6, 7):
            pattern = os.path.join(work, 'square%d.txt' % n)
            subprocess.run([sys.executable, tools, 'square', str(n), pattern], check=True)
            grids.append(('%dx%d empty square' % (n, n), pattern, 60))

        rows = []
        for name, pattern, limit in grids:
            lines = [l.strip() for l in open(pattern) if l.strip()]
            w, h = len(lines[0]), len(lines)
            blank = os.path.join(work, 'blank.qlx')
            qlx = os.path.join(work, 'grid.qlx')
            deck = os.path.join(work, 'grid.qxd')
            subprocess.run([quill, 'grid', 'new', blank, '--size', '%dx%d' % (w, h)], check=True)
            subprocess.run([sys.executable, tools, 'qlx', pattern, blank, qlx], check=True)
            subprocess.run([sys.executable, tools, 'deck', pattern, deck], check=True)
            ours = median_run([[quill, 'autofill', qlx, '--dict', dic, '--seed', str(s), '--timeout', str(limit),
                                '-o', os.path.join(work, 'out.qlx')] for s in range(1, 2 if w == 7 else 6)])
            theirs = median_run([[qxw, '-b', '-d', words, deck]] * (1 if w == 7 else 3), limit)
            solve = None
            if w in (5, 6):
                solve = median_run([[quill, 'fill', qlx, '--mark', '0,0,%d,%d' % (w - 1, h - 1), '--max', '0',
                                     '--dict', dic]] * 3)
            rows.append((name, ours, theirs, solve))

        def secs(r):
            if r['limited']:
                return '> %.0f s' % r['wall']
            return '%.3f s' % r['cpu']

        print('%-18s %10s %10s %8s %10s %10s %8s %9s %9s %12s' %
              ('autofill', 'ours cpu', 'ours wall', 'ours MB', 'qxw cpu', 'qxw wall', 'qxw MB', 'ratio',
               'exit', 'Solve first'))
        for name, ours, theirs, solve in rows:
            ratio = '-' if theirs['limited'] else '%.3f' % (ours['cpu'] / theirs['cpu'])
            exits = ','.join(str(s) for s in ours['status'])
            mb = lambda r: '%.1f' % (r['kb'] / 1024) if r['kb'] else '-'
            print('%-18s %10s %10.3f %8s %10s %10.3f %8s %9s %9s %12s' %
                  (name, secs(ours), ours['wall'], mb(ours), secs(theirs), theirs['wall'], mb(theirs), ratio, exits,
                   secs(solve) if solve else '-'))
        print('ratio: our CPU time / qxw -b CPU time (median of 5 seeds / of 3 runs); exit: ours per seed '
              '(0 filled, 2 time limit)')
        for name, ours, theirs, solve in rows:
            for status, said in zip(ours['status'], ours['said']):
                if status != 0 and said:
                    print('%s: %s' % (name, said))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    main()
