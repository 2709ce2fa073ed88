#!/usr/bin/env bash
# Reads all of src/ with the static analysers; exits 0 when neither finds anything, 1 when one
# does (or a suppression in the code gives no reason), 2 when an analyser cannot run.
#
#   tools/analyse.sh            cppcheck, then clang-tidy with the checks of .clang-tidy
#   tools/analyse.sh --quick    cppcheck alone (what tools/test.sh runs, well within a minute)
#   tools/analyse.sh FILE...    cppcheck, then clang-tidy on these .cpp files only (the ones
#                               a change touched, say: clang-tidy takes seconds a file)
#
# clang-tidy reads the code as the Clang build compiles it: its compile commands come from a
# folder configured with cmake/clang-mingw-w64.cmake (build-analyse/, or $VELMORA_ANALYSE_DIR),
# where only the generated language pack is built. tools/install-deps.sh --clang installs it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
quick=0
if [ "${1:-}" = "--quick" ]; then
    quick=1
    shift
fi
jobs=$(nproc)
status=0

# A suppression in the code says why on the same line: a bare one is a finding of its own.
bare=$(grep -rnE '(cppcheck-suppress[^;]*$|NOLINT(NEXTLINE)?(\([^)]*\))?[[:space:]]*$)' src || true)
if [ -n "$bare" ]; then
    echo "$bare"
    echo "analyse: a suppression without its reason on the same line" >&2
    status=1
fi

# cppcheck: its error, warning, performance, portability and style classes, less the style
# advice that is taste rather than a fault. Each left-out id is named with its reason:
#   useStlAlgorithm          a raw loop is no fault, and often the plainer code here
#   constParameter*,
#   constVariable*           const-correctness advice, not a fault
#   lstrcpynWCalled,
#   lstrlenWCalled           advice against their exception guard; every copy here goes into
#                            a fixed array with that array's length, from a terminated string
#   missingIncludeSystem     the analysis runs without the Windows headers (--library=windows
#                            knows their functions)
command -v cppcheck >/dev/null || { echo "analyse: cppcheck is missing (tools/install-deps.sh)" >&2; exit 2; }
cppcheck_dir=${VELMORA_ANALYSE_DIR:-$root/build-analyse}/cppcheck
mkdir -p "$cppcheck_dir"
if ! cppcheck --quiet --error-exitcode=1 -j "$jobs" --cppcheck-build-dir="$cppcheck_dir" \
    --std=c++20 --platform=win64 --library=windows --inline-suppr \
    --enable=warning,style,performance,portability \
    --suppress=useStlAlgorithm --suppress=constParameter --suppress=constParameterPointer \
    --suppress=constVariable --suppress=constVariablePointer --suppress=lstrcpynWCalled \
    --suppress=lstrlenWCalled --suppress=missingIncludeSystem \
    -D_WIN32 -D_WIN64 -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
    -D_WIN32_WINNT=0x0A00 -DWINVER=0x0A00 -Isrc -Iresources src; then
    echo "analyse: cppcheck found the above" >&2
    status=1
fi
[ $quick = 1 ] && exit $status

for tool in clang-tidy clang++ ld.lld; do
    command -v $tool >/dev/null || { echo "analyse: $tool is missing (tools/install-deps.sh --clang)" >&2; exit 2; }
done
build=${VELMORA_ANALYSE_DIR:-$root/build-analyse}
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/clang-mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" --target velmora_stored_pack >/dev/null
# One file per clang-tidy, one per core; a header's findings come once for every file that
# includes it, and are printed once.
if [ $# -eq 0 ]; then
    set -- $(find src -name '*.cpp' | sort)
fi
findings=$(printf '%s\n' "$@" |
    xargs -P "$jobs" -n 1 clang-tidy -p "$build" --quiet 2>/dev/null |
    grep -E '^[^ ].*: (warning|error): ' | sort -u || true)
if [ -n "$findings" ]; then
    echo "$findings"
    echo "analyse: clang-tidy found the above" >&2
    status=1
fi
exit $status
