#!/usr/bin/env python3
"""Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UndefinedBehavior-
Sanitizer) and runs each on its seed corpus.

    scripts/fuzz.py [SECONDS] [TARGET ...]     (default 600 seconds each, every target)

New inputs go to build/fuzz/corpus/<target>/ (the committed seeds in
tests/fuzz/corpus/ stay as they are); a crash, hang or sanitizer report leaves its input
in build/fuzz/artifacts/ and makes the exit status non-zero. ./test runs every target
for a few seconds through tests/run_all.py."""
import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[1]
BUILD = ROOT / 'build' / 'fuzz'
SEEDS = ROOT / 'tests' / 'fuzz' / 'corpus'


def build():
    """Configures (once) and builds the fuzz targets (scripts/build.sh fuzz)."""
    subprocess.run([str(ROOT / 'scripts' / 'build.sh'), 'fuzz'], cwd=ROOT, check=True)


def targets():
    return sorted(p.name[len('fuzz_'):] for p in (BUILD / 'tests' / 'fuzz').glob('fuzz_*')
                  if p.is_file() and p.stat().st_mode & 0o111)


def run(target, seconds):
    """Runs one target; True when it found nothing."""
    corpus = BUILD / 'corpus' / target
    corpus.mkdir(parents=True, exist_ok=True)
    artifacts = BUILD / 'artifacts'
    artifacts.mkdir(parents=True, exist_ok=True)
    seeds = SEEDS / target
    args = [str(BUILD / 'tests' / 'fuzz' / f'fuzz_{target}'), f'-max_total_time={seconds}',
            '-timeout=10', '-rss_limit_mb=2048', '-print_final_stats=1',
            f'-artifact_prefix={artifacts}/{target}-', str(corpus)]
    if seeds.is_dir():
        args.append(str(seeds))
    res = subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                         errors='replace', timeout=seconds + 120)
    runs = [line for line in res.stderr.splitlines() if line.startswith('stat::number_of_executed_units')]
    count = runs[-1].split(':')[-1].strip() if runs else '?'
    status = 'ok' if res.returncode == 0 else f'FOUND (exit {res.returncode})'
    print(f'fuzz_{target}: {count} runs in {seconds} s, {status}', flush=True)
    if res.returncode != 0:
        print('\n'.join(res.stderr.splitlines()[-30:]))
    return res.returncode == 0


def main():
    seconds = int(sys.argv[1]) if len(sys.argv) > 1 else 600
    build()
    chosen = sys.argv[2:] or targets()
    results = [run(t, seconds) for t in chosen]
    return 0 if all(results) else 1


if __name__ == '__main__':
    sys.exit(main())
