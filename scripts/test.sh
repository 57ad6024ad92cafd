#!/usr/bin/env bash
# Installs what is missing, builds the Linux program with its tests and the Windows program,
# then runs every test: the core's unit tests, the end-to-end tests of the Linux program under
# Xvfb and the smoke test of the Windows program under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --preset linux -j2 "$@"
