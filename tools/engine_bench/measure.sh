#!/usr/bin/env bash
# Idle CPU of the real engine tick against the timer floor, and window-manager calls per tick;
# first on the desktop stand-in (tools/desktop_standin, or the bench's own minimal shell when
# that is not built), then with no shell at all. Run after building:
#
#   tools/wine-env tools/engine_bench/measure.sh [build-dir] [seconds]
#
# floor and velmora run side by side for the given time (default 60 s) and each reports its own
# process CPU. Then each runs alone for half that time while the wineserver's CPU is read from
# Linux, since under Wine every query of another process's window is also work for the server.
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
seconds=${2:-60}
bench="$build/tools/engine_bench/engine_bench.exe"
out=$(mktemp -d)
shell_pid=""

stop_shell() {
    if [ -n "$shell_pid" ]; then
        kill "$shell_pid" 2>/dev/null
        wait "$shell_pid" 2>/dev/null
        shell_pid=""
    fi
}
cleanup() {
    stop_shell
    rm -rf "$out"
}
trap cleanup EXIT

# The wineserver of this prefix works in a folder named server-DEV-INODE of the prefix.
server_pid() {
    local dir pid
    dir=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
    for pid in $(pgrep wineserver); do
        case "$(readlink "/proc/$pid/cwd")" in */"$dir") echo "$pid"; return ;; esac
    done
}
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{print int(($14 + $15) * 1000 / hz)}' "/proc/$1/stat"; }

alone() {
    local role=$1 half=$(( seconds / 2 )) server before after pid
    server=$(server_pid)
    [ -n "$server" ] || { echo "the wineserver of $WINEPREFIX was not found"; return; }
    wine "$bench" "$role" "$half" >"$out/$role-alone.txt" 2>&1 &
    pid=$!
    sleep 3
    before=$(cpu_ms "$server")
    sleep "$half"
    after=$(cpu_ms "$server")
    wait "$pid"
    printf '%-8s alone %3d s: wineserver %5d ms = %5.2f %% of one core | %s\n' "$role" "$half" \
        $(( after - before )) "$(echo "scale=2; ($after - $before) / ($half * 10)" | bc)" \
        "$(tr -d '\r' <"$out/$role-alone.txt")"
}

measure() {
    echo "== calls per tick"
    wine "$bench" count 2>&1 | tr -d '\r'
    wine "$bench" cursor 640 400 >/dev/null 2>&1
    echo
    echo "== idle CPU over $seconds s, side by side, cursor resting on the desktop, default settings"
    wine "$bench" floor "$seconds" >"$out/floor.txt" 2>&1 &
    local floor_pid=$!
    wine "$bench" velmora "$seconds" >"$out/velmora.txt" 2>&1
    wait "$floor_pid"
    tr -d '\r' <"$out/floor.txt"
    tr -d '\r' <"$out/velmora.txt"
    echo
    echo "== each alone, with the wineserver's share"
    alone floor
    alone velmora
}

standin="$build/tools/desktop_standin/desktop_standin.exe"
if [ -f "$standin" ]; then
    echo "######## desktop stand-in (Program Manager > SHELLDLL_DefView > SysListView32)"
    wine "$standin" </dev/null >/dev/null 2>&1 &
    shell_pid=$!
    wine "$standin" --wait-ready </dev/null >/dev/null 2>&1
else
    echo "######## the bench's minimal shell (Program Manager > SHELLDLL_DefView > SysListView32)"
    wine "$bench" shell </dev/null >/dev/null 2>&1 &
    shell_pid=$!
fi
sleep 3
measure
stop_shell
sleep 1
echo
echo "######## no shell desktop (the lookup fails on every tick)"
measure
