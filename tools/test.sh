#!/usr/bin/env bash
# Installs what is missing, has cppcheck read the code, builds, and runs every test (unit and
# end-to-end) under Wine.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"
# cppcheck reads src/ in a few seconds; clang-tidy takes minutes and is run by hand
# (tools/analyse.sh).
"$root/tools/analyse.sh" --quick
# The program and what the tests run; the tools that are run by hand come with tools/build.sh.
"$root/tools/build.sh" --target velmora_test_programs
# Tests always get an Xvfb of their own: real input must not reach the user's desktop. The
# end-to-end tests take turns on one desktop; the others run beside them in sessions of their
# own (tests/CMakeLists.txt).
VELMORA_HEADLESS=1 "$root/tools/wine-env" ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"
