#!/usr/bin/env python3
"""Runs the e2e tests (tests/e2e/test_*.py) and writes their counts as JSON.

    run_e2e.py [--json FILE] [PATTERN ...]

PATTERN narrows the run to test ids containing it (e.g. EngineStartup)."""
import argparse
import json
import pathlib
import sys
import unittest

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))


def iter_tests(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from iter_tests(item)
        else:
            yield item


class CountingResult(unittest.TextTestResult):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.passed = 0
        self._failed_now = False

    def startTest(self, test):
        self._failed_now = False
        super().startTest(test)

    def addSubTest(self, test, subtest, err):
        if err is not None:
            self._failed_now = True
        super().addSubTest(test, subtest, err)

    def addSuccess(self, test):
        super().addSuccess(test)
        if not self._failed_now:
            self.passed += 1


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--json')
    ap.add_argument('patterns', nargs='*')
    args = ap.parse_args()
    loader = unittest.TestLoader()
    suite = loader.discover(str(HERE), pattern='test_*.py', top_level_dir=str(HERE))
    if args.patterns:
        suite = unittest.TestSuite(t for t in iter_tests(suite) if any(p in t.id() for p in args.patterns))
    runner = unittest.TextTestRunner(verbosity=2, resultclass=CountingResult, stream=sys.stdout)
    result = runner.run(suite)
    failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
    counts = {'passed': result.passed, 'failed': failed, 'skipped': len(result.skipped)}
    if args.json:
        pathlib.Path(args.json).write_text(json.dumps(counts))
    print(f"e2e: {counts['passed']} passed, {counts['failed']} failed, {counts['skipped']} skipped")
    return 0 if failed == 0 else 1


if __name__ == '__main__':
    sys.exit(main())
