#!/usr/bin/env python3
"""The editor following a run of the real RkEngine.exe under Wine: a macro of 10,000
"WAIT:0" lines (KeyinWaitMSec 0) run alone and with the editor's log reader, in turns,
and the slowdown (of the bests, as the engine's own benchmark, and of the medians); then
how long after the engine writes an entry the reader sees it, on a macro of lines that
come apart. Needs the win build (build/win/bin/RkEngine.exe,
build/win/benchmarks/zv_bench_editor_follow.exe).

    python3 benchmarks/editor_follow_bench.py [LINES] [ROUNDS]
"""
import json
import pathlib
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / 'tests' / 'e2e'))
from wineenv import BUILD, WineSession  # noqa: E402

BENCH = BUILD / 'win' / 'benchmarks' / 'zv_bench_editor_follow.exe'
SPACED_LINES = 40
SPACED_WAIT_MS = 37  # not a multiple of the reader's period: entries fall all over it


def main():
    lines = int(sys.argv[1]) if len(sys.argv) > 1 else 10000
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    s = WineSession.begin('bench-follow')
    try:
        work = pathlib.Path(tempfile.mkdtemp(prefix='zv-bench-follow-'))
        s.reset_user_state()
        s.write_cp932(s.suite_folder() / 'Zorvane.ini', '[RkEngineSettings]\r\nKeyinWaitMSec=0\r\n')
        full = work / 'waits.rkm'
        spaced = work / 'spaced.rkm'
        s.write_cp932(full, '; <RKMACRO>bench\r\n' + 'WAIT:0\r\n' * lines)
        s.write_cp932(spaced, '; <RKMACRO>bench\r\n' + f'WAIT:{SPACED_WAIT_MS}\r\n' * SPACED_LINES)
        folder = s.win_path(s.bin('RkEngine.exe').parent)
        res = subprocess.run(['wine', str(BENCH), folder, s.win_path(full), str(rounds),
                              s.win_path(spaced)], env=s.env, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, timeout=3600)
    finally:
        s.stop()
    out = res.stdout.decode(errors='replace')
    if res.returncode != 0:
        sys.stdout.write(out)
        raise SystemExit('zv_bench_editor_follow failed: ' + res.stderr.decode(errors='replace'))
    *text, last = out.strip().splitlines()
    figures = json.loads(last)
    if figures['entries'] != lines:
        raise SystemExit(f'the reader took {figures["entries"]} entries, expected {lines}')
    print('\n'.join(text))
    alone, followed = figures['alone_ms'], figures['followed_ms']
    best_alone, best_followed = figures['alone_best_ms'], figures['followed_best_ms']
    print(f'{lines} WAIT:0 lines alone: median {alone:.0f} ms, best {best_alone:.0f} ms; '
          f'followed: median {followed:.0f} ms, best {best_followed:.0f} ms ({rounds} rounds)')
    print(f'slowdown: {(followed / alone - 1) * 100:+.1f} % of the medians, '
          f'{(best_followed / best_alone - 1) * 100:+.1f} % of the bests; the reader took '
          f'{figures["reader_cpu_ms"]:.1f} ms of processor time per run')
    print(f'an entry seen by the reader after: median {figures["lag_median_ms"]:.1f} ms, '
          f'max {figures["lag_max_ms"]:.1f} ms over {figures["lag_entries"]} entries '
          f'(timer period {figures["period_ms"]} ms)')
    print(f'BENCH\tRkEngine.exe under Wine, {lines} WAIT:0 lines, followed by the editor\t'
          f'{best_followed:.1f}\tthe same run without a reader\t{best_alone:.1f}\tms')
    print(f'BENCH\tthe editor sees a run log entry (longest wait)\t{figures["lag_max_ms"]:.1f}\t'
          f'its timer period\t{figures["period_ms"]:.1f}\tms')


if __name__ == '__main__':
    main()
