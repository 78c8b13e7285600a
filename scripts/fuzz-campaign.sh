#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The long fuzz campaign: every target for a number of executions (10 million by default),
# as many targets at a time as there are cores. New inputs go to a scratch folder, never into
# the sources; a finding is written there too and the target's log says what it was.
# Usage: scripts/fuzz-campaign.sh [executions] [scratch folder]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10000000}
scratch=$(realpath -m "${2:-build/fuzz-campaign}")
bash scripts/deps.sh
export CCACHE_BASEDIR="$PWD"
cmake --preset fuzz
cmake --build --preset fuzz -j"$(nproc)"

targets=(fuzz_point_table fuzz_comma_import fuzz_cross_section fuzz_adcp_import fuzz_numbers
         fuzz_fields)
mkdir -p "$scratch"
: >"$scratch/summary.txt"

run_target() {
    local target=$1 start
    mkdir -p "$scratch/$target"
    start=$(date +%s)
    local status=0
    "build/fuzz/tests/fuzz/$target" -runs="$runs" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$scratch/$target-" \
        "$scratch/$target" "tests/fuzz/corpus/$target" >"$scratch/$target.log" 2>&1 || status=$?
    local executions
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$target.log")
    echo "$target: ${executions:-?} executions in $(( $(date +%s) - start )) s, exit $status" \
        | tee -a "$scratch/summary.txt"
}

# A simple pool: one worker per core, each taking the next target in turn.
workers=$(nproc)
lock="$scratch/.next"
echo 0 >"$lock"
worker() {
    while true; do
        local index
        index=$(flock "$lock" bash -c 'i=$(cat "$1"); echo $((i + 1)) >"$1"; echo "$i"' _ "$lock")
        [ "$index" -lt "${#targets[@]}" ] || return 0
        run_target "${targets[$index]}"
    done
}
for ((w = 0; w < workers; w++)); do
    worker &
done
wait
rm -f "$lock"
if grep -qv 'exit 0$' "$scratch/summary.txt"; then
    echo "fuzz campaign: findings, see $scratch" >&2
    exit 1
fi
echo "fuzz campaign: no findings ($scratch/summary.txt)"
