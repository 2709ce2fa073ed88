#!/usr/bin/env bash
# Installs what is missing, builds, and starts Velmora on the demo desktop (the stand-in for
# Explorer's desktop) under Wine: on your display when DISPLAY is set, else headless.
#
#   tools/run.sh                       run until Velmora ends (its Exit command, or Ctrl+C)
#   tools/run.sh --screenshot FILE     headless: start, wait until the desktop settles, save
#                                      a PNG of the screen to FILE, end everything
#   tools/run.sh -- ARGS...            pass ARGS to Velmora (e.g. -bg)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$root/build}
screenshot=""
args=()
while [ $# -gt 0 ]; do
    case "$1" in
        --screenshot) screenshot=$(realpath -m "$2"); shift 2 ;;
        --) shift; args=("$@"); break ;;
        *) echo "usage: $0 [--screenshot FILE] [-- VELMORA-ARGS...]" >&2; exit 2 ;;
    esac
done

"$root/tools/install-deps.sh"
"$root/tools/build.sh" >/dev/null

# A folder of its own beside the build, so the demo's INI file is not the tests' one.
demo="$build/demo"
mkdir -p "$demo"
cp "$build/Velmora.exe" "$demo/Velmora.exe"
cp "$build/tools/desktop_standin/desktop_standin.exe" "$demo/desktop_standin.exe"

session() {
    wine "$demo/desktop_standin.exe" &
    standin=$!
    # Velmora's first look-up should find the demo desktop's windows.
    wine "$demo/desktop_standin.exe" --wait-ready || echo "The demo desktop did not come up." >&2
    if [ -n "$screenshot" ]; then
        wine "$demo/Velmora.exe" "${args[@]}" &
        sleep 8
        import -window root "$screenshot"
        echo "Screenshot written to $screenshot"
        wine "$demo/Velmora.exe" exit >/dev/null 2>&1 || true
    else
        wine "$demo/Velmora.exe" "${args[@]}" || true
    fi
    kill "$standin" 2>/dev/null || true
}
export -f session
export demo screenshot
export args_string="${args[*]:-}"

if [ -n "$screenshot" ]; then
    export VELMORA_HEADLESS=1
fi
"$root/tools/wine-env" bash -c "$(declare -p args); $(declare -f session); session"
