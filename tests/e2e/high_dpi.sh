#!/usr/bin/env bash
# Runs the HighDpi suite in a Wine prefix of its own set to 144 dpi, so that no other suite
# ever sees the setting: the prefix gets its own wineserver and, headless, its own Xvfb.
#
#   high_dpi.sh BUILD_DIR VELMORA_E2E_TESTS_EXE [GTEST ARGS...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$1
tests=$2
shift 2
main_prefix=${WINEPREFIX:-}
export VELMORA_WINEPREFIX="$build/wineprefix_dpi"
# A copy of the tests' own prefix, made once, is ready in two seconds; a new one takes twenty.
# The server of that prefix saves its registry through a new file, so a copy taken while it
# runs holds whole files.
if [ ! -f "$VELMORA_WINEPREFIX/.velmora-ready" ] && [ -n "$main_prefix" ] && [ -f "$main_prefix/.velmora-ready" ]; then
    rm -rf "$VELMORA_WINEPREFIX" "$VELMORA_WINEPREFIX.copy"
    cp -a "$main_prefix" "$VELMORA_WINEPREFIX.copy"
    mv "$VELMORA_WINEPREFIX.copy" "$VELMORA_WINEPREFIX"
fi
unset VELMORA_WINE_SESSION WINEPREFIX
export tests
exec "$root/tools/wine-env" bash -c '
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d 144 /f </dev/null >/dev/null 2>&1
    "$0" "$tests" --gtest_filter="HighDpi*" "$@"' "$root/tools/wine-env" "$@"
