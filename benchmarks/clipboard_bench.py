#!/usr/bin/env python3
"""Cost of TYPE's clipboard save and restore on the real clipboard under Wine.

Runs build/win/benchmarks/zv_bench_clipboard.exe (win build) in a Wine session and prints its
figures: for a plain text clipboard and for one with several large formats and some
rendered only when asked for, the time to save and to put back with the paste's limits
and without.

    python3 benchmarks/clipboard_bench.py [MB per large format] [large formats] [slow formats] [render ms]
"""
import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / 'tests' / 'e2e'))
from wineenv import WineSession  # noqa: E402


def main():
    exe = ROOT / 'build' / 'win' / 'benchmarks' / 'zv_bench_clipboard.exe'
    if not exe.exists():
        raise SystemExit(f'{exe} is missing: build the win preset first')
    s = WineSession.begin('bench')
    try:
        res = subprocess.run(['wine', str(exe), *sys.argv[1:]], env=s.env, stdout=subprocess.PIPE,
                             timeout=900)
        sys.stdout.write(res.stdout.decode('utf-8', 'replace'))
        if res.returncode != 0:
            raise SystemExit(f'the benchmark ended with {res.returncode}')
    finally:
        s.stop()


if __name__ == '__main__':
    main()
