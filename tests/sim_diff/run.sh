#!/usr/bin/env bash
# Asks the same questions of Wine's window system and of the simulated
# desktop, and fails on any answer that differs, unless known_divergences.txt
# lists the question with its reason.
#
#   run.sh PROBE_EXE HOST_RUNNER KNOWN_DIVERGENCES BUILD_DIR
set -euo pipefail
probe=$1 runner=$2 known=$3 build=$4

[[ -f $build/wine-env.sh ]] || { echo "FAIL: no Wine fixture ($build/wine-env.sh)" >&2; exit 1; }
# shellcheck source=/dev/null
source "$build/wine-env.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/sim-diff.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$runner" >"$work/sim.txt"
# Every stream to a file: a Wine process would otherwise hold CTest's pipe.
if ! timeout 60 wine "$probe" </dev/null >"$work/wine.txt" 2>"$work/wine-stderr.txt"; then
  echo "FAIL: the probe did not finish under Wine" >&2
  tail -n 20 "$work/wine-stderr.txt" >&2
  exit 1
fi
tr -d '\r' <"$work/wine.txt" >"$work/wine-lf.txt"
cp "$work/wine-lf.txt" "$build/sim_differential-wine.txt"

questions=$(wc -l <"$work/sim.txt")
if [[ $questions -lt 40 || $(wc -l <"$work/wine-lf.txt") -ne $questions ]]; then
  echo "FAIL: $questions answers from the simulation, $(wc -l <"$work/wine-lf.txt") from Wine" >&2
  exit 1
fi

mismatches=0 explained=0
while IFS= read -r -u 3 sim_line && IFS= read -r -u 4 wine_line; do
  [[ $sim_line == "$wine_line" ]] && continue
  question=${sim_line%% = *}
  question=${question%% clicks=*}
  if grep -qF -- "$question" <(grep -v '^#' "$known"); then
    explained=$((explained + 1))
    echo "known: $question"
    continue
  fi
  mismatches=$((mismatches + 1))
  echo "MISMATCH"
  echo "  simulation: $sim_line"
  echo "  wine:       $wine_line"
done 3<"$work/sim.txt" 4<"$work/wine-lf.txt"

echo "$questions questions, $mismatches mismatches, $explained known divergences"
[[ $mismatches -eq 0 ]]
