#!/usr/bin/env python3
"""Runs every benchmark of the project and prints one table: each figure beside the floor
it is compared with (measured in the same run) and their ratio. The table also goes to
build/bench-report.md.

Native benchmarks come from the bench preset (build/bench/benchmarks/zv_bench_*); the Wine
ones are the Python scripts in benchmarks/ (the win build). Every benchmark prints its figures
as lines "BENCH<TAB>name<TAB>value<TAB>floor name<TAB>floor<TAB>unit".

    benchmarks/run_all.py [NAME-FRAGMENT ...]    (default: every benchmark)"""
import datetime
import os
import pathlib
import platform
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[1]
NATIVE = ROOT / 'build' / 'bench' / 'benchmarks'


def benchmarks(wanted):
    found = [(exe.name, [str(exe)]) for exe in sorted(NATIVE.glob('zv_bench_*'))
             if os.access(exe, os.X_OK)]
    found += [(script.name, [sys.executable, str(script)])
              for script in sorted((ROOT / 'benchmarks').glob('*_bench.py'))]
    return [(name, cmd) for name, cmd in found if not wanted or any(w in name for w in wanted)]


def machine():
    cpu = ''
    try:
        for line in pathlib.Path('/proc/cpuinfo').read_text().splitlines():
            if line.startswith('model name'):
                cpu = line.split(':', 1)[1].strip()
                break
    except OSError:
        pass
    try:
        wine = subprocess.run(['wine', '--version'], capture_output=True, text=True,
                              timeout=60).stdout.strip()
    except (OSError, subprocess.TimeoutExpired):
        wine = 'no Wine'
    try:
        kb = int(next(line.split()[1] for line in pathlib.Path('/proc/meminfo').read_text().splitlines()
                      if line.startswith('MemTotal:')))
        memory = f', {kb / 1024 / 1024:.0f} GiB'
    except (OSError, StopIteration, ValueError):
        memory = ''
    return f'{platform.system()} {platform.release()}, {cpu}, {os.cpu_count()} cores{memory}, {wine}'


def main():
    rows, failures = [], []
    for name, cmd in benchmarks(sys.argv[1:]):
        print(f'==== {name}', flush=True)
        res = subprocess.run(cmd, cwd=ROOT, capture_output=True, text=True, errors='replace',
                             timeout=1800)
        sys.stdout.write(res.stdout)
        found = [line.split('\t')[1:] for line in res.stdout.splitlines()
                 if line.startswith('BENCH\t')]
        if res.returncode != 0 or not found:
            failures.append(name)
            sys.stdout.write(res.stderr[-2000:])
        for fields in found:
            if len(fields) == 5:
                rows.append(fields)
    table = ['| benchmark | figure | floor | floor measured | ratio |',
             '|---|---:|---|---:|---:|']
    for what, value, floor_name, floor, unit in rows:
        v, f = float(value), float(floor)
        ratio = f'{v / f:.2f}' if f > 0 else '-'
        table.append(f'| {what} | {v:.2f} {unit} | {floor_name} | {f:.2f} {unit} | {ratio} |')
    stamp = datetime.date.today().isoformat()
    report = '\n'.join([f'Measured {stamp} on {machine()}.', ''] + table) + '\n'
    print()
    print(report)
    (ROOT / 'build').mkdir(exist_ok=True)
    (ROOT / 'build' / 'bench-report.md').write_text(report)
    if failures:
        print('benchmarks without figures: ' + ', '.join(failures))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
