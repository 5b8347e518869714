#!/usr/bin/env bash
# Stops the CUPS scheduler that scripts/start-cups.sh started.
#
#   scripts/stop-cups.sh PID
#
# An empty PID (start-cups.sh found a scheduler running and started none) stops nothing.
set -euo pipefail

pid=${1-}
[ -n "$pid" ] || exit 0
[ "$(ps -o comm= -p "$pid" 2>/dev/null)" = cupsd ] || {
    echo "stop-cups.sh: process $pid is not cupsd" >&2
    exit 1
}
kill "$pid"
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || exit 0
    sleep 0.1
done
echo "stop-cups.sh: cupsd ($pid) did not stop" >&2
exit 1
