#!/usr/bin/env bash
# The whole test suite, run several times in a row while busy loops keep the cores loaded, as a
# build beside it would (run by hand, never by ctest). A suite that passes only on a quiet
# machine fails here. Prints each run's outcome and time; exit code 0 when every run passed.
#
#   tools/stress/suite_under_load.sh [--runs N] [--hogs N] [--build DIR]
#
# Defaults: 5 runs, one busy loop per core. Builds what the tests run first, unloaded.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
runs=5
hogs=$(nproc)
build=${VELMORA_BUILD_DIR:-$root/build}
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs=$2; shift 2 ;;
        --hogs) hogs=$2; shift 2 ;;
        --build) build=$2; shift 2 ;;
        *) echo "suite_under_load.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
export VELMORA_BUILD_DIR=$build
"$root/tools/build.sh" --target velmora_test_programs >/dev/null || exit 1

hog_pids=()
stop_hogs() { [ ${#hog_pids[@]} -eq 0 ] || kill "${hog_pids[@]}" 2>/dev/null; }
trap stop_hogs EXIT
for _ in $(seq 1 "$hogs"); do
    yes >/dev/null &
    hog_pids+=($!)
done

failed=0
for run in $(seq 1 "$runs"); do
    log="$build/suite_under_load_$run.log"
    start=$(date +%s)
    if VELMORA_HEADLESS=1 "$root/tools/wine-env" ctest --test-dir "$build" --output-on-failure -j "$(nproc)" >"$log" 2>&1; then
        outcome=passed
    else
        outcome=FAILED
        failed=$((failed + 1))
    fi
    echo "run $run: $outcome in $(( $(date +%s) - start )) s (log: $log)"
    grep -E "\*\*\*Failed|\*\*\*Timeout|Not Run" "$log" || true
done
echo "$((runs - failed)) of $runs runs passed beside $hogs busy loop(s)"
[ "$failed" -eq 0 ]
