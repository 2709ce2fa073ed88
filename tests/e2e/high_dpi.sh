#!/usr/bin/env bash
# Runs a test program in a Wine session of its own (tests/separate_session.sh) whose prefix is
# set to 144 dpi, so that no other suite ever sees the setting.
#
#   high_dpi.sh BUILD_DIR TESTS_EXE [GTEST ARGS...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$1
tests=$2
shift 2
export tests
exec "$root/tests/separate_session.sh" dpi "$build" bash -c '
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d 144 /f </dev/null >/dev/null 2>&1
    "$0" "$tests" "$@"' "$root/tools/wine-env" "$@"
