#!/bin/sh
# Start-up time and memory of the Linux program on a virtual desktop, over a few runs.
# Usage: scripts/bench.sh [runs]   (TESSARYN_PROGRAM overrides build/linux/tessaryn-desktop)
set -eu
cd "$(dirname "$0")/../tests/e2e"
exec env PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 bench.py --runs "${1:-5}"
