#!/usr/bin/env bash
# Figures for the settings dialog under Wine, run from the repository root after building:
#
#   tools/wine-env tools/perf/measure.sh [build-dir]
#
# 1. Start-up: process start to a visible dialog, Velmora against a bare program that shows
#    the whole dialog template with its icons after loading shell32 and initialising OLE,
#    started in turns; the ratio of medians is the start-up figure. With VELMORA_STARTUP_TRACE=Z:\path\file both append their steps'
#    times (ms since process creation) to that file.
# 2. Idle CPU over 60 s (VELMORA_IDLE_SECONDS) with the cursor resting: Velmora in the tray
#    (-bg), with hide_taskbar and a colour and then with default options, beside the engine's
#    timer floor (engine_bench floor), each with its ratio; then each alone with the
#    wineserver's share, since every look at another process's window is work for the server.
# 3. A left press on the empty desktop to the icons shown, median of 30.
# 4. An hour's worth of ticks (120000 timer messages) driven through Velmora's dialog while
#    the icons hide and show, with its GDI objects, windows, USER handles and memory.
#
# The desktop stand-in plays the shell. Wine reports neither other processes' CPU times nor
# their memory, so those come from Linux.
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
bench="$build/tools/engine_bench/engine_bench.exe"
standin="$build/tools/desktop_standin/desktop_standin.exe"
standin_pid=""
cleanup() {
    wine "$work/Velmora.exe" exit >/dev/null 2>&1
    [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
cp "$build/Velmora.exe" "$build"/tools/perf/*.exe "$bench" "$work/"
bench="$work/engine_bench.exe"
cd "$work"

# Only this run's processes: others may run the same programs under their own prefixes.
linux_pid() { pgrep -f "$work/$1" | head -1; }
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{print int(($14 + $15) * 1000 / hz)}' "/proc/$1/stat"; }
memory() { grep -E '^(VmRSS|VmData)' "/proc/$(linux_pid Velmora.exe)/status" | tr -s ' \t\n' ' '; }
server_pid() {
    local dir pid
    dir=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
    for pid in $(pgrep wineserver); do
        case "$(readlink "/proc/$pid/cwd")" in */"$dir") echo "$pid"; return ;; esac
    done
}
start_velmora() { wine "$work/Velmora.exe" </dev/null >/dev/null 2>&1 & sleep 5; }
stop_velmora() { wine "$work/Velmora.exe" exit >/dev/null 2>&1; sleep 1; }

wine "$standin" </dev/null >/dev/null 2>&1 &
standin_pid=$!
sleep 3
wine "$bench" cursor 1100 300 >/dev/null 2>&1  # resting on the empty desktop

echo "== start-up to a visible dialog, no INI file (25 runs each, in turns): the ratio is Velmora's to the yardstick's"
rm -f Velmora.ini
wine perf_probe.exe startup 25 perf_bare_dialog.exe Velmora.exe

# Velmora in the tray (-bg) with the given INI lines beside the floor for $idle_seconds, both
# measured from Linux; prints both and their ratio. Velmora keeps running for what follows.
idle_ratio() {
    local label=$1 ini=$2 v0 f0 v1 f1 floor_job
    printf '[Program]\r\n%b' "$ini" >Velmora.ini
    wine "$work/Velmora.exe" -bg </dev/null >/dev/null 2>&1 &
    sleep 5
    wine "$bench" floor $((idle_seconds + 5)) >floor.txt 2>&1 &
    floor_job=$!
    sleep 3
    velmora=$(linux_pid Velmora.exe)
    floor=$(linux_pid "engine_bench.exe floor")
    v0=$(cpu_ms "$velmora"); f0=$(cpu_ms "$floor")
    sleep "$idle_seconds"
    v1=$(( $(cpu_ms "$velmora") - v0 )); f1=$(( $(cpu_ms "$floor") - f0 ))
    wait "$floor_job"
    echo "$label: Velmora $v1 ms, floor $f1 ms, ratio $(awk -v v="$v1" -v f="$f1" 'BEGIN { printf "%.2f", (f > 0 ? v / f : 0) }')"
}

idle_seconds=${VELMORA_IDLE_SECONDS:-60}
echo "== idle CPU over $idle_seconds s beside the floor, cursor resting on the empty desktop (Linux process times)"
idle_ratio "hide_taskbar 1 and a colour" 'hide_taskbar=1\r\nm_wallpaper_color=255\r\n'
stop_velmora
idle_ratio "default options" ''
echo "engine floor's own report: $(tr -d '\r' <floor.txt)"

echo "== each alone for 30 s, with the wineserver"
server=$(server_pid)
s0=$(cpu_ms "$server"); v0=$(cpu_ms "$velmora")
sleep 30
echo "Velmora alone: $(( $(cpu_ms "$velmora") - v0 )) ms, wineserver $(( $(cpu_ms "$server") - s0 )) ms"
stop_velmora
wine "$bench" floor 33 >floor.txt 2>&1 &
floor_job=$!
sleep 3
floor=$(linux_pid "engine_bench.exe floor")
s0=$(cpu_ms "$server"); f0=$(cpu_ms "$floor")
sleep 30
echo "floor alone:   $(( $(cpu_ms "$floor") - f0 )) ms, wineserver $(( $(cpu_ms "$server") - s0 )) ms"
wait "$floor_job"

echo "== a left press on the empty desktop to the icons shown: 30 presses, idle time 1 s (goal: median <= 50 ms)"
printf '[Program]\r\nauto_hide_icons_sec=1\r\n' >Velmora.ini
start_velmora
wine perf_probe.exe click 30 | tr -d '\r'
stop_velmora

echo "== an hour's worth of ticks: 4 x 30000 timer messages, icons hiding and showing"
printf '[Program]\r\nauto_hide_icons_sec=1\r\nshow_icons_mouse_move=1\r\nm_wallpaper_color=255\r\n' >Velmora.ini
start_velmora
echo "memory before: $(memory)"
for round in 1 2 3 4; do
    wine perf_probe.exe soak Velmora.exe 30000 | tr -d '\r' | sed -n '1p;/100%/,$p'
    echo "memory after round $round: $(memory)"
done
stop_velmora
