#!/usr/bin/env python3
"""Runs the e2e tests (tests/e2e/test_*.py) and writes their counts as JSON.

    run_e2e.py [--json FILE] [--jobs N] [PATTERN ...]

PATTERN narrows the run to test ids containing it (e.g. EngineStartup). The tests run in
N worker processes at once (default: one per core), each with its own Wine sessions
(wineenv.shared_session: own display, wineserver, prefix and copy of the programs) and
its own temporary folder; a worker takes the next test when it is free, the longest
ones first (durations of the last runs, build/results/e2e-durations.json). Each test's
output (its verbose result line, what it printed, and on failure the traceback) is
printed in one piece when it ends; failures are printed again at the end.

What a test uses on the host outside its session (a file under build/, a fixed name or
port) is named in its class's E2E_SHARED tuple: tests naming the same thing never run at
the same time ("*" runs a test alone)."""
import argparse
import json
import os
import pathlib
import selectors
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

HERE = pathlib.Path(__file__).resolve().parent
RESULTS = HERE.parents[1] / 'build' / 'results'
DURATIONS = RESULTS / 'e2e-durations.json'
TEST_TIMEOUT = 15 * 60  # a test that runs longer is ended and counted failed
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


def discover(patterns):
    suite = unittest.TestLoader().discover(str(HERE), pattern='test_*.py', top_level_dir=str(HERE))
    tests = list(iter_tests(suite))
    if patterns:
        tests = [t for t in tests if any(p in t.id() for p in patterns)]
    return tests


def shared_names(test):
    """What the test names in E2E_SHARED (a failed import names nothing)."""
    return set(getattr(type(test), 'E2E_SHARED', ()))


# ---- worker: runs the tests it is sent, one at a time, in its own sessions ----

def worker(slot, commands_fd, results_fd, out_dir):
    """Reads test ids (one a line) from commands_fd; runs each with its standard output and
    error (file descriptors 1 and 2, so the programs it starts too) in out_dir/N.log;
    answers on results_fd with one JSON line per test."""
    os.environ['ZV_E2E_SLOT'] = str(slot)
    tmp = pathlib.Path(tempfile.mkdtemp(prefix=f'zv-e2e-{slot}-'))
    os.environ['TMPDIR'] = str(tmp)
    tempfile.tempdir = None
    commands = os.fdopen(commands_fd, 'r')
    results = os.fdopen(results_fd, 'w', buffering=1)
    loader = unittest.TestLoader()
    previous_class = None
    last = None
    try:
        for n, line in enumerate(commands):
            test_id = line.strip()
            out = pathlib.Path(out_dir) / f'{slot}-{n}.log'
            started = time.time()
            fd = os.open(out, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
            saved = os.dup(1), os.dup(2)
            os.dup2(fd, 1)
            os.dup2(fd, 2)
            os.close(fd)
            stream = open(1, 'w', closefd=False, encoding='utf-8', errors='replace')
            sys.stdout = sys.stderr = stream
            result = CountingResult(unittest.runner._WritelnDecorator(stream), True, 2)
            try:
                suite = loader.loadTestsFromName(test_id)
                # One run across the tests a worker is sent: a class is set up once for
                # consecutive tests of it and torn down when the next class comes.
                result._testRunEntered = True
                result._previousTestClass = previous_class
                suite.run(result)
                previous_class = result._previousTestClass
                last = (suite, result)
                if result.errors or result.failures:
                    result.printErrors()
            finally:
                stream.flush()
                sys.stdout, sys.stderr = sys.__stdout__, sys.__stderr__
                os.dup2(saved[0], 1)
                os.dup2(saved[1], 2)
                os.close(saved[0])
                os.close(saved[1])
            failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
            results.write(json.dumps({'id': test_id, 'passed': result.passed, 'failed': failed,
                                      'skipped': len(result.skipped), 'seconds': time.time() - started,
                                      'log': str(out)}) + '\n')
        if last is None:
            return 0
        # The last class's tear-down, after its last test: a failure there fails the run.
        suite, result = last
        before = len(result.errors)
        suite._tearDownPreviousClass(None, result)
        suite._handleModuleTearDown(result)
        if len(result.errors) == before:
            return 0
        result.errors[:before] = []
        result.failures[:] = []
        result.printErrors()
        return 1
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


# ---- parent: hands the tests out and gathers the results ----

class Worker:
    def __init__(self, slot, out_dir):
        self.slot = slot
        cmd_r, self.cmd_w = os.pipe()
        self.res_r, res_w = os.pipe()
        self.log = out_dir / f'worker-{slot}.log'
        with open(self.log, 'ab') as log:
            self.proc = subprocess.Popen(
                [sys.executable, __file__, '--worker', str(slot), str(cmd_r), str(res_w), str(out_dir)],
                pass_fds=(cmd_r, res_w), stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        os.close(cmd_r)
        os.close(res_w)
        self.commands = os.fdopen(self.cmd_w, 'w', buffering=1)
        self.results = os.fdopen(self.res_r, 'r')
        self.test = None
        self.started = None

    def send(self, test):
        self.test = test
        self.started = time.time()
        self.commands.write(test.id() + '\n')

    def finish(self):
        self.commands.close()

    def kill(self):
        self.proc.kill()
        self.proc.wait()
        self.results.close()
        # Its sessions' Wine processes (the displays end with the worker).
        import wineenv
        for prefix in (wineenv.BUILD / 'wine').glob(f'run-e2e*-{self.slot}'):
            wineenv._end_prefix(prefix)


def load_durations():
    try:
        return json.loads(DURATIONS.read_text())
    except (OSError, ValueError):
        return {}


def run_parallel(tests, jobs):
    """Runs tests in jobs workers; returns (passed, failed, skipped)."""
    # A test file that does not import is reported here, with the import error.
    broken = [t for t in tests if isinstance(t, unittest.loader._FailedTest)]
    tests = [t for t in tests if not isinstance(t, unittest.loader._FailedTest)]
    broken_failed = 0
    if broken:
        result = unittest.TextTestRunner(stream=sys.stdout, verbosity=2).run(unittest.TestSuite(broken))
        broken_failed = len(result.errors) + len(result.failures)
    if not tests:
        return 0, broken_failed, 0
    durations = load_durations()
    unknown = max(durations.values(), default=60.0)
    # Longest first (unknown ones count as the longest known), so that the last tests to
    # start are short and the workers end together.
    queue = sorted(tests, key=lambda t: -durations.get(t.id(), unknown))
    out_dir = pathlib.Path(tempfile.mkdtemp(prefix='zv-e2e-run-'))
    jobs = max(1, min(jobs, len(queue)))
    print(f'{len(queue)} tests in {jobs} workers', flush=True)
    sel = selectors.DefaultSelector()
    workers = []
    passed = failed = skipped = 0
    failures = []
    measured = {}

    def start_worker(slot):
        w = Worker(slot, out_dir)
        sel.register(w.results, selectors.EVENT_READ, w)
        workers.append(w)
        return w

    def busy_names():
        names = set()
        for w in workers:
            if w.test is not None:
                names |= shared_names(w.test)
        return names

    def next_test():
        busy = busy_names()
        for i, t in enumerate(queue):
            mine = shared_names(t)
            if '*' in busy or ('*' in mine and any(w.test is not None for w in workers)):
                return None
            if not (mine & busy):
                return queue.pop(i)
        return None

    def report(w, text, ok):
        text = f'[{w.slot}] {text}'  # the session it ran in: what ran there before is its past
        print(text, end='' if text.endswith('\n') else '\n', flush=True)
        if not ok:
            failures.append(text)

    def lost(w, why, more=''):
        """Reports the test of a worker that will not answer as failed, ends the worker and
        starts another in its place; returns 1, the failure."""
        sel.unregister(w.results)
        workers.remove(w)
        logs = sorted(out_dir.glob(f'{w.slot}-*.log'), key=lambda p: p.stat().st_mtime)
        text = logs[-1].read_text(errors='replace') if logs else ''
        report(w, f'{w.test.id()} ... ERROR ({why})\n{text}{more}', False)
        w.kill()
        if queue:
            start_worker(w.slot)
        return 1

    def give_work():
        for w in workers:
            if w.test is None and queue:
                t = next_test()
                if t is None:
                    return
                w.send(t)

    try:
        for slot in range(1, jobs + 1):
            start_worker(slot)
        give_work()
        while any(w.test is not None for w in workers):
            events = sel.select(timeout=5)
            for key, _ in events:
                w = key.data
                line = w.results.readline()
                if line:
                    r = json.loads(line)
                    text = pathlib.Path(r['log']).read_text(errors='replace')
                    passed += r['passed']
                    failed += r['failed']
                    skipped += r['skipped']
                    measured[r['id']] = round(r['seconds'], 1)
                    report(w, text, r['failed'] == 0)
                    w.test = None
                    continue
                # The worker ended in the middle of a test: that test failed.
                failed += lost(w, f'the worker ended: exit {w.proc.poll()}',
                               '\n' + w.log.read_text(errors='replace')[-3000:])
            now = time.time()
            for w in list(workers):
                if w.test is not None and now - w.started > TEST_TIMEOUT:
                    failed += lost(w, f'still running after {TEST_TIMEOUT} s')
            give_work()
        for w in workers:
            w.finish()
        for w in workers:
            try:
                w.proc.wait(timeout=120)
            except subprocess.TimeoutExpired:
                w.kill()
            # A class tear-down that failed after its last test.
            text = w.log.read_text(errors='replace')
            if w.proc.returncode != 0 and w.proc.returncode is not None:
                report(w, f'worker {w.slot} ended with exit {w.proc.returncode}:\n{text[-3000:]}', False)
                failed += 1
    finally:
        for w in workers:
            if w.proc.poll() is None:
                w.kill()
        shutil.rmtree(out_dir, ignore_errors=True)
    if failures:
        print('\n' + '=' * 70 + f'\n{len(failures)} failed test(s), again:\n')
        for text in failures:
            print(text, end='' if text.endswith('\n') else '\n')
    if measured:
        RESULTS.mkdir(parents=True, exist_ok=True)
        DURATIONS.write_text(json.dumps({**durations, **measured}, indent=0, sort_keys=True))
    return passed, failed + broken_failed, skipped


def main():
    # Ended from outside (a time limit, Ctrl+C): the sessions are stopped on the way out.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    if len(sys.argv) > 1 and sys.argv[1] == '--worker':
        return worker(int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), sys.argv[5])
    ap = argparse.ArgumentParser()
    ap.add_argument('--json')
    ap.add_argument('--jobs', type=int, default=os.cpu_count() or 1)
    ap.add_argument('patterns', nargs='*')
    args = ap.parse_args()
    started = time.time()
    tests = discover(args.patterns)
    passed, failed, skipped = run_parallel(tests, args.jobs) if tests else (0, 0, 0)
    counts = {'passed': passed, 'failed': failed, 'skipped': skipped}
    if args.json:
        pathlib.Path(args.json).write_text(json.dumps(counts))
    print(f'\ne2e: {len(tests)} tests in {time.time() - started:.0f} s')
    print(f"e2e: {counts['passed']} passed, {counts['failed']} failed, {counts['skipped']} skipped")
    return 0 if failed == 0 else 1


if __name__ == '__main__':
    sys.exit(main())
