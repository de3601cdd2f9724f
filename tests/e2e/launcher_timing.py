"""How long the hotkey menu takes under Wine: from the Z of Alt+Z going down to the menu
on screen, for macro folders of several sizes, beside the floor measured in the same run
(listing the same folders without opening any file, timed right before each press, so
both see the same load on the machine) and the parts of a press timed apart by
zv_bench_launcher_menu.exe. Used by the e2e tier (test_launcher_timing.py) and
by benchmarks/launcher_menu_bench.py.

    rows = measure(session)          # one dict per folder size
    print(report(rows))              # a table; save(rows) writes it under build/e2e-artifacts/
"""
import json
import shutil
import statistics
import subprocess

from wineenv import ARTIFACTS, BUILD, wait_settled

SIZES = (10, 500, 2000)
PRESSES = 7
FOLDER = 'zv-timing'
LAUNCHER_WINDOW = 'TrayIconHandler'
FRONT_WINDOW = '電卓'
# Files changed less than this long ago are read again at every press; a user's macro
# files are older, so the measurement waits this long after writing them.
SETTLE_SECONDS = 3.5
BENCH = BUILD / 'win' / 'benchmarks' / 'zv_bench_launcher_menu.exe'


def macro_text(n):
    body = ''.join(f'KEYIN:CTRL+C\r\nWAIT:100\r\nTYPE:"定型文の入力 {i}"\r\n' for i in range(8))
    return f'; <RKMACRO>マクロ {n}\r\n\r\n; 説明の行です。\r\n\r\n' + body


def make_tree(top, count):
    """Writes count macro files over the top folder and two levels of subfolders (up to 10
    folders below the top, each with 5 of its own); returns the number of folders."""
    shutil.rmtree(top, ignore_errors=True)
    branches = min(10, max(1, -(-count // 200)))
    folders = [top]
    for a in range(branches):
        first = top / f'フォルダ{a}'
        folders.append(first)
        folders.extend(first / f'sub{b}' for b in range(5))
    for folder in folders:
        folder.mkdir(parents=True, exist_ok=True)
    for n in range(count):
        (folders[n % len(folders)] / f'm{n}.rkm').write_bytes(macro_text(n).encode('cp932'))
    return len(folders)


def _median(values):
    return statistics.median(values) if values else None


def measure_one(s, count, presses=PRESSES):
    top = s.drive_c() / FOLDER
    top_win = 'C:\\' + FOLDER
    folders = make_tree(top, count)
    s.reset_user_state()
    s.write_cp932(s.suite_folder() / 'Zorvane.ini',
                  '[ZorvaneSettings]\r\nSplashShowSec=0\r\nRkMacroTopPath=' + top_win +
                  '\r\nRkMacroFileMax=2000\r\nRkMacroDirDepht=2\r\n')
    wait_settled([top], SETTLE_SECONDS)
    launcher = s.start(s.bin('Zorvane.exe'))
    try:
        if s.wait_window(LAUNCHER_WINDOW, 15000) is None:
            raise AssertionError('the launcher did not start')
        s.tool('activate', FRONT_WINDOW)
        # The launcher reads the folder once its message loop runs (a message it posts
        # itself at start-up, handled before the hotkey's).
        rc, out = s.tool('idle', LAUNCHER_WINDOW, '30000', timeout=90)
        if rc != 0:
            raise AssertionError(f'the launcher did not come to its message loop: {out}')
        times = s.tool_ok('hotkey-menu-times', str(presses), top_win, '2', timeout=120)
        ms, floors = times['ms'], times['floor_ms']
    finally:
        s.tool('close', LAUNCHER_WINDOW)
        try:
            launcher.wait(timeout=30)
        except subprocess.TimeoutExpired:
            s.tool('kill', 'Zorvane.exe')
    res = subprocess.run(['wine', str(BENCH), top_win, '2', '2000', '5'], env=s.env,
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)
    if res.returncode != 0:
        raise AssertionError('zv_bench_launcher_menu failed: ' + res.stderr.decode(errors='replace'))
    parts = json.loads(res.stdout.decode().strip().splitlines()[-1])
    shown = [m for m in ms if m is not None]
    median = _median(shown)
    floor = _median(floors)
    return {
        'files': count,
        'folders': folders,
        'presses_ms': ms,
        'floors_ms': floors,
        'median_ms': median,
        'floor_ms': floor,
        'ratio': median / floor if median is not None and floor > 0 else None,
        'parts': parts,
    }


def measure(s, sizes=SIZES, presses=PRESSES):
    """Measures every size with a window titled FRONT_WINDOW in front; cleans up after."""
    front = subprocess.Popen(['wine', str(s.test_program('zvtool.exe')), 'title-window', FRONT_WINDOW,
                              '600000'], env=s.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        front.stdout.readline()  # "shown"
        return [measure_one(s, count, presses) for count in sizes]
    finally:
        front.kill()  # title-window keeps running for its whole time otherwise
        front.wait(timeout=20)
        shutil.rmtree(s.drive_c() / FOLDER, ignore_errors=True)
        s.reset_user_state()


def report(rows):
    def f(v):
        return '    -' if v is None else f'{v:5.1f}'
    lines = [
        'Alt+Z to the hotkey menu on screen under Wine (Zorvane.exe, maximum 2000, depth 2): median',
        'of the presses, beside the floor of listing the same folders without opening a file, timed',
        'right before each press; then the parts of a press timed apart in one process',
        '(zv_bench_launcher_menu.exe: the floor again, the listing the launcher uses, a scan reading',
        'every file as before, a scan with kept headers listing every folder, the scan with kept',
        'headers and the folder watches after no change, the menu built from the model).',
        '',
        ' files folders |  menu  floor  ratio | apart: floor  list  read-all  listed  watched  menu | each press (ms), first one after start-up',
    ]
    for r in rows:
        p = r['parts']
        ratio = '    -' if r['ratio'] is None else f"{r['ratio']:5.2f}"
        presses = ' '.join('none' if m is None else f'{m:.1f}' for m in r['presses_ms'])
        lines.append(f"{r['files']:6d} {r['folders']:7d} | {f(r['median_ms'])}  {f(r['floor_ms'])}  {ratio} |"
                     f"        {f(p['search_listing_ms'])} {f(p['platform_listing_ms'])}    "
                     f"{f(p['fresh_scan_ms'])}   {f(p['kept_listed_scan_ms'])}    {f(p['kept_scan_ms'])} "
                     f"{f(p['menu_build_ms'])} | {presses}")
    return '\n'.join(lines)


def bench_lines(rows):
    """The figures in the form benchmarks/run_all.py gathers: figure, floor, unit."""
    lines = []
    for r in rows:
        if r['median_ms'] is not None:
            lines.append(f"BENCH\tZorvane.exe under Wine, Alt+Z to the menu on screen, {r['files']} files\t"
                         f"{r['median_ms']:.1f}\tlisting the same folders without opening a file\t"
                         f"{r['floor_ms']:.1f}\tms")
        p = r['parts']
        lines.append(f"BENCH\thotkey menu model under Wine after no change (kept listings and "
                     f"headers, folder watches), {p['files']} files\t{p['kept_scan_ms']:.2f}\t"
                     f"listing the same folders\t{p['search_listing_ms']:.2f}\tms")
        lines.append(f"BENCH\thotkey menu built from the model under Wine, {p['items']} items\t"
                     f"{p['menu_build_ms']:.2f}\tlisting the same folders\t{p['search_listing_ms']:.2f}\tms")
    return lines


def save(rows):
    ARTIFACTS.mkdir(parents=True, exist_ok=True)
    (ARTIFACTS / 'launcher_menu_timing.txt').write_text(report(rows) + '\n')
    (ARTIFACTS / 'launcher_menu_timing.json').write_text(json.dumps(rows, indent=1, ensure_ascii=False))
    return ARTIFACTS / 'launcher_menu_timing.txt'
