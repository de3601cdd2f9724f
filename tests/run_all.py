#!/usr/bin/env python3
"""Runs the test tiers on built trees and ends with one line 'N passed, M failed'.

    tests/run_all.py [unit] [win32] [e2e] [fuzz]     (default: all four)

unit   build/native/tests/unit/zv_unit_tests (ASan + UBSan) and tests/check_layers.py
win32  build/win/tests/zv_win32_tests.exe under Wine
e2e    tests/e2e/test_*.py driving the real programs under Wine and Xvfb
fuzz   every libFuzzer target (scripts/fuzz.py) for a few seconds on its seed corpus
"""
import json
import pathlib
import subprocess
import sys

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


def run_fuzz():
    """Every fuzz target for a few seconds on its seed corpus; each target counts as a test."""
    sys.path.insert(0, str(ROOT / 'scripts'))
    import fuzz
    try:
        fuzz.build()
    except subprocess.CalledProcessError:
        print('fuzz: the fuzz targets did not build')
        return 0, 1
    passed = failed = 0
    for target in fuzz.targets():
        if fuzz.run(target, 8):
            passed += 1
        else:
            failed += 1
    return passed, failed


TIERS = {'unit': run_unit, 'win32': run_win32, 'e2e': run_e2e, 'fuzz': run_fuzz}


def main():
    chosen = sys.argv[1:] or list(TIERS)
    RESULTS.mkdir(parents=True, exist_ok=True)
    total_passed = total_failed = 0
    lines = []
    for name in chosen:
        print(f'==== {name} ====', flush=True)
        passed, failed = TIERS[name]()
        lines.append(f'{name}: {passed} passed, {failed} failed')
        total_passed += passed
        total_failed += failed
    print()
    for line in lines:
        print(line)
    print(f'{total_passed} passed, {total_failed} failed')
    return 0 if total_failed == 0 and total_passed > 0 else 1


if __name__ == '__main__':
    sys.exit(main())
