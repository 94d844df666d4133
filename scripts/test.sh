#!/usr/bin/env bash
# Builds Pallix, its tests and its tools for Windows, and runs every test
# under Wine: the in-process tests and the journeys that drive the real
# pallix.exe. The output ends with CTest's summary, and the exit status is
# CTest's.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit

bash scripts/deps.sh || exit
cmake --preset win64 || exit
cmake --build --preset win64 || exit
ctest --test-dir build/win64 --output-on-failure
