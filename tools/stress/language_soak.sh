#!/usr/bin/env bash
# The long run of language changes, run by hand (never by ctest): the end-to-end test
# OwnerDrawnMenus.LanguageChangesThroughTheMenuLeaveMemoryAndObjectsWhereTheyWere with 20
# changes to warm up and 200 measured, by real clicks and keys on the real program (about a
# minute and a half). The suite runs the same test with 10 and 30. Exit code 0 when it passed.
#
#   tools/stress/language_soak.sh [--warmup N] [--changes N] [--build DIR]
#
# Builds nothing: run tools/build.sh first. Enters tools/wine-env by itself.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
warmup=20
changes=200
build=${VELMORA_BUILD_DIR:-$root/build}
while [ $# -gt 0 ]; do
    case "$1" in
        --warmup) warmup=$2; shift 2 ;;
        --changes) changes=$2; shift 2 ;;
        --build) build=$2; shift 2 ;;
        *) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
    esac
done
tests="$build/tests/velmora_e2e_tests.exe"
[ -f "$tests" ] || { echo "missing $tests: run tools/build.sh first" >&2; exit 2; }
export VELMORA_BUILD_DIR=$build VELMORA_LANGUAGE_WARMUP=$warmup VELMORA_LANGUAGE_CHANGES=$changes
# Real input must not reach the user's desktop.
export VELMORA_HEADLESS=${VELMORA_HEADLESS:-1}
exec "$root/tools/wine-env" "$tests" \
    --gtest_filter=OwnerDrawnMenus.LanguageChangesThroughTheMenuLeaveMemoryAndObjectsWhereTheyWere
