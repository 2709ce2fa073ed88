#!/usr/bin/env bash
# Builds Velmora.exe of one commit twice, in two fresh folders of different names and depths,
# with another time zone, locale and umask the second time and without ccache (the compiler's
# own output is what is compared), and checks that the two exes are the same bytes.
#
#   tools/reproduce.sh [--against FILE] [COMMIT]     (COMMIT: HEAD unless given)
#
# --against FILE also compares FILE (a downloaded Velmora.exe, say) with what the commit gives.
# Exit 0 when every exe is the same; 1 when one differs. The folders go when it ends; set
# VELMORA_KEEP=1 to keep them.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
against=""
if [ "${1:-}" = "--against" ]; then
    against=$(realpath "$2")
    shift 2
fi
commit=$(git -C "$root" rev-parse --verify "${1:-HEAD}^{commit}")

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-reproduce.XXXXXX")
[ "${VELMORA_KEEP:-0}" = 1 ] || trap 'rm -rf "$work"' EXIT
first=$work/one
second=$work/a/much/longer/folder/name/two
mkdir -p "$first" "$second"

build_in() { # build_in FOLDER [ENV...]: the commit's own sources and build script
    local folder=$1
    shift
    git -C "$root" archive "$commit" | tar -x -C "$folder"
    echo "Building $commit in $folder" >&2
    (
        cd /
        unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
        env CCACHE_DISABLE=1 VELMORA_BUILD_DIR="$folder/build" "$@" \
            "$folder/tools/build.sh" --target Velmora >"$folder.log" 2>&1
    ) || { tail -n 30 "$folder.log" >&2; exit 2; }
}

x86_64-w64-mingw32-g++-posix --version | head -n 1 >&2
x86_64-w64-mingw32-ld --version | head -n 1 >&2
build_in "$first"
(umask 0077 && build_in "$second" TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 LANG=C.UTF-8)

status=0
compare() { # compare FILE FILE
    if cmp "$1" "$2"; then
        echo "same: $2"
    else
        status=1
        echo "DIFFERENT: $2"
    fi
}
sha256sum "$first/build/Velmora.exe" | sed "s|$first/build/||"
compare "$first/build/Velmora.exe" "$second/build/Velmora.exe"
[ -z "$against" ] || compare "$first/build/Velmora.exe" "$against"
exit $status
