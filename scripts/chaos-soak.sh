#!/usr/bin/env bash
# Drives every page and window of the program against a companion that gives
# half of all requests a random fault, round after round with a new seed
# each time, and prints how each round went and the most memory it took.
#   scripts/chaos-soak.sh [build-dir] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
rounds=${2:-20}
sweep="$build/app/tests/app_fault_sweep_test"
failed=0
for seed in $(seq 1 "$rounds"); do
    log=$(mktemp)
    if MIVRA_SWEEP_SEED=$seed QT_QPA_PLATFORM=offscreen /usr/bin/time -f "%M" -o "$log.mem" \
        "$sweep" --gtest_filter='*chaos*' >"$log" 2>&1; then
        result=passed
    else
        result=FAILED
        failed=$((failed + 1))
        grep -E "Failure|Expected|Which is|after " "$log" | head -20
    fi
    echo "seed $seed: $result, peak memory $(( $(cat "$log.mem") / 1024 )) MB"
    rm -f "$log" "$log.mem"
done
echo "$rounds rounds of chaos, $failed failed"
[ "$failed" -eq 0 ]
