#!/bin/sh
# Starts or stops a private, persistent wineserver for the Win32 tests.
# Without it every Wine run starts its own server, which holds the caller's
# output pipes open for seconds after the program ends.
#   wine-server.sh start PREFIX EXE   |   wine-server.sh stop PREFIX
set -e
export WINEPREFIX="$2" WINEDEBUG=-all
case "$1" in
  start)
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1 || true  # one may run already
    # The first run creates the prefix; keep its noise and its time out of
    # the cases.
    /usr/lib/wine/wine64 "$3" a a </dev/null >/dev/null 2>&1 || true
    ;;
  stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
esac
