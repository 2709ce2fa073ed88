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
export VELMORA_WINEPREFIX="$build/wineprefix_dpi"
unset VELMORA_WINE_SESSION WINEPREFIX
export tests
exec "$root/tools/wine-env" bash -c '
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d 144 /f </dev/null >/dev/null 2>&1
    "$0" "$tests" --gtest_filter="HighDpi*" "$@"' "$root/tools/wine-env" "$@"
