#!/usr/bin/env python3
"""Cost of one macro line in the real RkEngine.exe under Wine.

Runs a macro of 10,000 "WAIT:0" lines with KeyinWaitMSec 0, and the same macro without
lines, each a few times; prints the best times and the cost per line (the difference
divided by the number of lines). Needs the win build (build/win/bin/RkEngine.exe).

    python3 benchmarks/engine_wait_bench.py [LINES] [REPEATS]
"""
import pathlib
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / 'tests' / 'e2e'))
from wineenv import WineSession  # noqa: E402


def best_run(s, engine, macro, repeats):
    best = None
    for _ in range(repeats):
        start = time.perf_counter()
        rc = s.run(engine, f'/M:"{s.win_path(macro)}"', timeout=600)
        elapsed = time.perf_counter() - start
        if rc != 0:
            raise SystemExit(f'RkEngine.exe ended with {rc}')
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    lines = int(sys.argv[1]) if len(sys.argv) > 1 else 10000
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    s = WineSession.begin('bench')
    try:
        work = pathlib.Path(tempfile.mkdtemp(prefix='zv-bench-'))
        s.reset_user_state()
        s.write_cp932(s.suite_folder() / 'Zorvane.ini', '[RkEngineSettings]\r\nKeyinWaitMSec=0\r\n')
        empty = work / 'empty.rkm'
        full = work / 'waits.rkm'
        s.write_cp932(empty, '; <RKMACRO>bench\r\n')
        s.write_cp932(full, '; <RKMACRO>bench\r\n' + 'WAIT:0\r\n' * lines)
        engine = s.bin('RkEngine.exe')
        t_empty = best_run(s, engine, empty, repeats)
        t_full = best_run(s, engine, full, repeats)
        log = s.read_cp932(s.suite_folder() / 'Zorvane_Log.txt').split('\r\n')
        logged = sum(1 for line in log if 'WAIT  : 0 mm sec' in line)
        if logged != lines:
            raise SystemExit(f'the log holds {logged} WAIT entries, expected {lines}')
        per_line_us = (t_full - t_empty) / lines * 1e6
        print(f'engine run without lines: {t_empty * 1000:.0f} ms (best of {repeats})')
        print(f'engine run with {lines} WAIT:0 lines: {t_full * 1000:.0f} ms (best of {repeats})')
        print(f'per line: {per_line_us:.1f} us')
        print(f'BENCH\tRkEngine.exe under Wine, {lines} WAIT:0 lines\t{t_full * 1000:.1f}\t'
              f'the same engine on a macro without lines\t{t_empty * 1000:.1f}\tms')
    finally:
        s.stop()


if __name__ == '__main__':
    main()
