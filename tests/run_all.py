#!/usr/bin/env python3
"""Runs the test tiers on built trees and ends with one line 'N passed, M failed'.

    tests/run_all.py [--phase NAME=SECONDS ...] [unit] [win32] [e2e] [fuzz]   (default: all four)

unit   build/native/tests/unit/zv_unit_tests (ASan + UBSan) and tests/check_layers.py
win32  build/win/tests/zv_win32_tests.exe under Wine
e2e    tests/e2e/test_*.py driving the real programs under Wine and Xvfb, one Wine
       session per core (tests/e2e/run_e2e.py)
fuzz   every libFuzzer target (scripts/fuzz.py) for a few seconds on its seed corpus,
       one target per core at a time

Before the summary comes one line per phase with its seconds: the phases ./test timed
before (--phase install=12.3 build=301) and each tier run here.
"""
import argparse
import concurrent.futures
import json
import os
import pathlib
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[1]
RESULTS = ROOT / 'build' / 'results'
sys.path.insert(0, str(ROOT / 'tests' / 'e2e'))


def gtest_counts(json_path):
    data = json.loads(json_path.read_text())
    passed = failed = 0
    for suite in data.get('testsuites', []):
        for case in suite.get('testsuite', []):
            if case.get('result') == 'SKIPPED' or case.get('status') == 'NOTRUN':
                continue
            if case.get('failures'):
                failed += 1
            else:
                passed += 1
    return passed, failed


def run_layers():
    """The source layout rules (tests/check_layers.py) count as one test."""
    res = subprocess.run([sys.executable, str(ROOT / 'tests' / 'check_layers.py')])
    return (1, 0) if res.returncode == 0 else (0, 1)


def run_unit():
    layers_passed, layers_failed = run_layers()
    out = RESULTS / 'unit.json'
    out.unlink(missing_ok=True)
    exe = ROOT / 'build' / 'native' / 'tests' / 'unit' / 'zv_unit_tests'
    try:
        res = subprocess.run([str(exe), f'--gtest_output=json:{out}'], timeout=900)
    except subprocess.TimeoutExpired:
        print('unit: timed out')
        return 0, 1
    if not out.exists():
        print(f'unit: no results (exit {res.returncode})')
        return 0, 1
    passed, failed = gtest_counts(out)
    if res.returncode != 0 and failed == 0:
        failed = 1  # a crash or sanitizer report after the last test
    return passed + layers_passed, failed + layers_failed


def run_win32():
    from wineenv import WineSession
    out = RESULTS / 'win32.json'
    out.unlink(missing_ok=True)
    session = WineSession.begin('win32')
    try:
        exe = ROOT / 'build' / 'win' / 'tests' / 'zv_win32_tests.exe'
        try:
            res = subprocess.run(['wine', str(exe), f'--gtest_output=json:{session.win_path(out)}'],
                                 env=session.env, timeout=1200)
        except subprocess.TimeoutExpired:
            print('win32: timed out')
            return 0, 1
    finally:
        session.stop()
    if not out.exists():
        print(f'win32: no results (exit {res.returncode})')
        return 0, 1
    passed, failed = gtest_counts(out)
    if res.returncode != 0 and failed == 0:
        failed = 1
    return passed, failed


def run_e2e():
    out = RESULTS / 'e2e.json'
    out.unlink(missing_ok=True)
    try:
        subprocess.run([sys.executable, str(ROOT / 'tests' / 'e2e' / 'run_e2e.py'), '--json', str(out)],
                       timeout=50 * 60)
    except subprocess.TimeoutExpired:
        print('e2e: timed out')
        return 0, 1
    if not out.exists():
        return 0, 1
    counts = json.loads(out.read_text())
    return counts['passed'], counts['failed']


FUZZ_SECONDS = 8


def run_fuzz():
    """Every fuzz target for a few seconds on its seed corpus; each target counts as a test.
    The targets are independent, so one runs per core at a time (each still fuzzes for its
    whole time on a core of its own)."""
    sys.path.insert(0, str(ROOT / 'scripts'))
    import fuzz
    try:
        fuzz.build()
    except subprocess.CalledProcessError:
        print('fuzz: the fuzz targets did not build')
        return 0, 1
    targets = fuzz.targets()
    if not targets:
        print('fuzz: no fuzz targets')
        return 0, 1
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
        results = list(pool.map(lambda t: fuzz.run(t, FUZZ_SECONDS), targets))
    return results.count(True), results.count(False)


TIERS = {'unit': run_unit, 'win32': run_win32, 'e2e': run_e2e, 'fuzz': run_fuzz}


def phase_line(name, seconds):
    return f'phase {name}: {seconds:.0f} s'


def main():
    ap = argparse.ArgumentParser(description='Runs test tiers on built trees.')
    ap.add_argument('--phase', action='append', default=[], metavar='NAME=SECONDS',
                    help='a phase timed before (printed with the tiers\' times)')
    ap.add_argument('tiers', nargs='*', metavar='TIER', help=' '.join(TIERS))
    args = ap.parse_args()
    chosen = args.tiers or list(TIERS)
    unknown = [t for t in chosen if t not in TIERS]
    if unknown:
        print(f'unknown tier {", ".join(unknown)} (the tiers: {", ".join(TIERS)})')
        print('0 passed, 1 failed')
        return 2
    RESULTS.mkdir(parents=True, exist_ok=True)
    total_passed = total_failed = 0
    lines = []
    phases = []
    for item in args.phase:
        name, _, seconds = item.partition('=')
        phases.append(phase_line(name, float(seconds)))
    for name in chosen:
        print(f'==== {name} ====', flush=True)
        started = time.monotonic()
        passed, failed = TIERS[name]()
        phases.append(phase_line(name, time.monotonic() - started))
        lines.append(f'{name}: {passed} passed, {failed} failed')
        total_passed += passed
        total_failed += failed
    print()
    for line in lines + phases:
        print(line)
    print(f'{total_passed} passed, {total_failed} failed')
    return 0 if total_failed == 0 and total_passed > 0 else 1


if __name__ == '__main__':
    sys.exit(main())
