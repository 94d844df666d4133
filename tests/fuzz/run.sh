#!/usr/bin/env bash
# Builds the fuzz target (libFuzzer with address and undefined-behaviour
# sanitizers) and runs it for the given number of seconds, 60 by default.
#
#   bash tests/fuzz/run.sh [SECONDS]
#
# Findings and the growing input corpus stay in build/fuzz (or $PALLIX_FUZZ_DIR).
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${PALLIX_FUZZ_DIR:-$root/build/fuzz}
mkdir -p "$out/corpus" "$out/findings"

sources=("$root/tests/fuzz/profile_fuzz.cpp" "$root/platform/sim/profile_text.cpp"
  "$root/watch/watch_entry.cpp")

clang++ -std=c++20 -g -O1 -Wall -Wextra \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root" "${sources[@]}" -o "$out/profile_fuzz"

cd "$out/findings"
exec "$out/profile_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 "$out/corpus"
