#!/bin/sh
# Starts or stops a private, persistent wineserver for the Win32 tests.
# Without it every Wine run starts its own server, which holds the caller's
# output pipes open for seconds after the program ends.
#   wine-server.sh start PREFIX LOADER EXE   |   wine-server.sh stop PREFIX LOADER
# LOADER is the Wine loader the build names (CMAKE_CROSSCOMPILING_EMULATOR);
# wineserver sits beside it.
set -e
export WINEPREFIX="$2" WINEDEBUG=-all
case "$1" in
  start)
    mkdir -p "$WINEPREFIX"
    "$(dirname "$3")/wineserver" -p </dev/null >/dev/null 2>&1 || true  # one may run already
    # The first run creates the prefix; keep its noise and its time out of
    # the cases.
    "$3" "$4" a a </dev/null >/dev/null 2>&1 || true
    ;;
  stop)
    "$(dirname "$3")/wineserver" -k </dev/null >/dev/null 2>&1 || true
    ;;
esac
