#!/usr/bin/env bash
# Stress test of start-up and exit, run by hand after building (never by ctest): the real
# Velmora.exe beside the desktop stand-in, started and ended with "exit" many times, then
# started afresh many times to see its dialog. Prints the figures and every failure with
# details; exit code 0 when nothing failed.
#
#   tools/stress/stress.sh [--cycles N] [--dialogs N] [--exit-deadline MS] [--load]
#                          [--freeze MS] [--build DIR] [--exe VELMORA_EXE]
#
# Defaults: 500 start/exit cycles, 200 dialog starts, 10000 ms for an instance to end after
# "exit", the Velmora.exe of the build folder (--exe compares another build, say an older
# one kept aside). --load keeps one core busy (`yes > /dev/null`) for the whole run.
# --freeze suspends the instance's GUI thread for MS from just before each cycle's "exit", a
# held-up thread on demand. The script enters tools/wine-env by itself when needed.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cycles=500
dialogs=200
deadline=10000
load=0
freeze=0
build=${VELMORA_BUILD_DIR:-$root/build}
exe=""
while [ $# -gt 0 ]; do
    case "$1" in
        --cycles) cycles=$2; shift 2 ;;
        --dialogs) dialogs=$2; shift 2 ;;
        --exit-deadline) deadline=$2; shift 2 ;;
        --load) load=1; shift ;;
        --freeze) freeze=$2; shift 2 ;;
        --build) build=$2; shift 2 ;;
        --exe) exe=$(cd "$(dirname "$2")" && pwd)/$(basename "$2"); shift 2 ;;
        *) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
    esac
done
build=$(cd "$build" && pwd)
exe=${exe:-$build/Velmora.exe}
export VELMORA_BUILD_DIR=$build

if [ -z "${VELMORA_WINE_SESSION:-}" ]; then
    exec "$root/tools/wine-env" "$0" --cycles "$cycles" --dialogs "$dialogs" --exit-deadline "$deadline" \
        --freeze "$freeze" --build "$build" --exe "$exe" $([ "$load" = 1 ] && echo --load)
fi

driver="$build/tools/stress/velmora_stress.exe"
for file in "$driver" "$exe" "$build/tools/desktop_standin/desktop_standin.exe"; do
    [ -f "$file" ] || { echo "missing $file: run tools/build.sh first" >&2; exit 2; }
done

hog=""
stop_hog() { [ -n "$hog" ] && kill "$hog" 2>/dev/null && wait "$hog" 2>/dev/null; hog=""; }
trap stop_hog EXIT
if [ "$load" = 1 ]; then
    yes >/dev/null &
    hog=$!
fi

winpath() { echo "Z:${1//\//\\}"; }
echo "stress: $cycles start/exit cycles, $dialogs dialog starts, exit deadline $deadline ms$([ "$freeze" != 0 ] && echo ", GUI thread frozen $freeze ms at exit")$([ "$load" = 1 ] && echo ', one core busy')"
start=$(date +%s)
wine "$driver" "$(winpath "$exe")" "$(winpath "$build/tools/desktop_standin/desktop_standin.exe")" \
    "$cycles" "$dialogs" "$deadline" "$freeze" </dev/null 2>&1 | stdbuf -oL tr -d '\r'
rc=${PIPESTATUS[0]}
echo "stress: $(( $(date +%s) - start )) s in all, exit code $rc"
exit "$rc"
