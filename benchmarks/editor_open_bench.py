#!/usr/bin/env python3
"""Time from starting RkEditor.exe under Wine to its list showing a 10,000-line macro,
beside the same start on a macro without lines (program start and window: the floor).
Best of a few starts each. Needs the win build.

    python3 benchmarks/editor_open_bench.py [LINES] [REPEATS]
"""
import pathlib
import select
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / 'tests' / 'e2e'))
from wineenv import WineSession  # noqa: E402


def time_to_list(s, name, count):
    """Milliseconds until the editor on C:\\zv-bench\\name shows count lines."""
    p = subprocess.Popen(['wine', str(s.test_program('zvtool.exe')), 'time-filled-list',
                          f'{name} - RkEditor', '1000', str(count), '30000', '--',
                          s.win_path(s.bin('RkEditor.exe')), f'"C:\\zv-bench\\{name}"'],
                         env=s.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    ready, _, _ = select.select([p.stdout], [], [], 60)
    line = p.stdout.readline().decode().strip() if ready else ''
    s.tool('kill', 'RkEditor.exe')
    s.wait_no_process('RkEditor.exe', 20)
    p.kill()
    if not line:
        raise SystemExit(f'{name}: the list did not show {count} lines')
    return float(line)


def main():
    lines = int(sys.argv[1]) if len(sys.argv) > 1 else 10000
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    s = WineSession.begin('bench-editor')
    try:
        folder = s.drive_c() / 'zv-bench'
        folder.mkdir(parents=True, exist_ok=True)
        s.write_cp932(folder / 'big.txt', '; <RKMACRO>大きなマクロ\r\n\r\n' +
                      ''.join(f'WAIT:{n},1\r\n' for n in range(lines)))
        s.write_cp932(folder / 'empty.txt', '; <RKMACRO>空\r\n\r\n')
        empty = min(time_to_list(s, 'empty.txt', 0) for _ in range(repeats))
        full = min(time_to_list(s, 'big.txt', lines) for _ in range(repeats))
        print(f'RkEditor start to a filled list: {lines} lines {full:.0f} ms, '
              f'no lines {empty:.0f} ms (best of {repeats})')
        print(f'BENCH\tRkEditor.exe under Wine, start to a list of {lines} lines\t{full:.1f}\t'
              f'the same start on a macro without lines\t{empty:.1f}\tms')
    finally:
        s.stop()


if __name__ == '__main__':
    main()
