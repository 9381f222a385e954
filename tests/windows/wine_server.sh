#!/bin/sh
# Starts (creating the prefix when new) or stops the persistent wineserver of a test run.
# Usage: wine_server.sh start|stop WINE WINESERVER; WINEPREFIX etc. come from the environment.
set -eu
action=$1 wine=$2 wineserver=$3
case "$action" in
start)
    mkdir -p "$WINEPREFIX"
    # The server and the services wineboot starts outlive this script: they must not hold its
    # output open, or the test runner waits for them.
    # Exit status 2: a server of this prefix is running already, which serves as well.
    "$wineserver" -p </dev/null >/dev/null 2>&1 || [ $? -eq 2 ]
    "$wine" wineboot -i </dev/null >/dev/null 2>&1
    ;;
stop)
    # Exit status 1: no server was running.
    "$wineserver" -k || [ $? -eq 1 ]
    ;;
esac
