#!/usr/bin/env bash
# Figures for the settings dialog under Wine: start-up time against a bare dialog of the same
# template, idle CPU against the timer floor (running side by side), and growth over an hour's
# worth of engine ticks. Run from the repository root after building:
#
#   tools/wine-env tools/perf/measure.sh [build-dir]
#
# The desktop stand-in is started when it has been built, so the ticks find a desktop. Wine
# does not report other processes' CPU times or memory, so those come from Linux.
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
standin_pid=""
cleanup() {
    wine "$work/Velmora.exe" exit >/dev/null 2>&1
    [ -n "$(linux_pid perf_tick_floor.exe)" ] && kill "$(linux_pid perf_tick_floor.exe)"
    [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
cp "$build/Velmora.exe" "$build"/tools/perf/*.exe "$work/"
cd "$work"

linux_pid() { pgrep -f "$1" | head -1; }
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{print int(($14 + $15) * 1000 / hz)}' "/proc/$(linux_pid "$1")/stat"; }
memory() { grep -E '^(VmRSS|VmData)' "/proc/$(linux_pid "$1")/status" | tr -s ' \n' ' '; }

standin="$build/tools/desktop_standin/desktop_standin.exe"
if [ -f "$standin" ]; then
    wine "$standin" </dev/null >/dev/null 2>&1 &
    standin_pid=$!
    sleep 3
fi

echo "== start-up to a visible dialog (25 runs each, in turns)"
wine perf_probe.exe startup 25 perf_bare_dialog.exe Velmora.exe

echo "== idle CPU over 60 s, side by side"
wine Velmora.exe </dev/null >/dev/null 2>&1 &
wine perf_tick_floor.exe </dev/null >/dev/null 2>&1 &
sleep 10
v0=$(cpu_ms Velmora.exe)
f0=$(cpu_ms perf_tick_floor.exe)
sleep 60
echo "Velmora:    $(( $(cpu_ms Velmora.exe) - v0 )) ms CPU"
echo "tick floor: $(( $(cpu_ms perf_tick_floor.exe) - f0 )) ms CPU"

echo "== an hour's worth of ticks: 4 x 30000 timer messages"
echo "memory before: $(memory Velmora.exe)"
for round in 1 2 3 4; do
    wine perf_probe.exe soak Velmora.exe 30000 | sed -n '1p;$p'
    echo "memory after round $round: $(memory Velmora.exe)"
done
