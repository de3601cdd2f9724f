#!/usr/bin/env bash
# Configures and builds both presets: the native core with its unit tests, and the
# Windows programs with the win32 tests and the e2e tools; then packages the programs.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset win >/dev/null
cmake --build --preset win
# The installer and the portable zip, from the programs just built.
python3 scripts/package.py
