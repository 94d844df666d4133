#!/usr/bin/env bash
# Builds everything (the host build with its unit tests, and the Windows build
# beside it) and runs every test: unit tests on the simulated desktop and the
# real program under Wine. The output ends with CTest's summary, and the exit
# status is CTest's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/deps.sh
cmake --preset host
cmake --build --preset host
status=0
ctest --test-dir build/host --output-on-failure || status=$?
exit "$status"
