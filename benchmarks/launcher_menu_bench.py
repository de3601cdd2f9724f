#!/usr/bin/env python3
"""The hotkey menu of the real Zorvane.exe under Wine: Alt+Z to the menu on screen with
10, 500 and 2000 macro files (median of several presses), beside the floor of listing
the same folders without opening a file, and the parts of a press timed apart. Needs the
win build (build/win/bin/Zorvane.exe, build/win/benchmarks/zv_bench_launcher_menu.exe).

    python3 benchmarks/launcher_menu_bench.py [PRESSES] [SIZE ...]
"""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / 'tests' / 'e2e'))
import launcher_timing  # noqa: E402
from wineenv import WineSession  # noqa: E402


def main():
    presses = int(sys.argv[1]) if len(sys.argv) > 1 else launcher_timing.PRESSES
    sizes = tuple(int(a) for a in sys.argv[2:]) or launcher_timing.SIZES
    s = WineSession.begin('bench-launcher')
    try:
        rows = launcher_timing.measure(s, sizes, presses)
    finally:
        s.stop()
    print(launcher_timing.report(rows))
    print('saved in', launcher_timing.save(rows))
    print('\n'.join(launcher_timing.bench_lines(rows)))


if __name__ == '__main__':
    main()
