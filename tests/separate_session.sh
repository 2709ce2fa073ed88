#!/usr/bin/env bash
# Runs a command in a Wine session of its own: the prefix BUILD_DIR/wineprefix_NAME, its own
# wineserver and (headless) its own Xvfb, so that nothing it does reaches the desktop the
# end-to-end tests drive, and it may run beside them. The prefix is a copy of the tests' own
# ready prefix, made once (two seconds where a new one takes twenty); the server of that prefix
# saves its registry through a new file, so a copy taken while it runs holds whole files.
#
#   separate_session.sh NAME BUILD_DIR COMMAND [ARGS...]   (COMMAND.exe runs under Wine)
#   separate_session.sh NAME BUILD_DIR                     (only makes the prefix)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
name=$1
build=$2
shift 2
main_prefix=${WINEPREFIX:-}
export VELMORA_WINEPREFIX="$build/wineprefix_$name"
if [ ! -f "$VELMORA_WINEPREFIX/.velmora-ready" ] && [ -n "$main_prefix" ] && [ -f "$main_prefix/.velmora-ready" ]; then
    rm -rf "$VELMORA_WINEPREFIX" "$VELMORA_WINEPREFIX.copy"
    cp -a "$main_prefix" "$VELMORA_WINEPREFIX.copy"
    mv "$VELMORA_WINEPREFIX.copy" "$VELMORA_WINEPREFIX"
fi
[ $# -gt 0 ] || exit 0
unset VELMORA_WINE_SESSION WINEPREFIX
exec "$root/tools/wine-env" "$@"
