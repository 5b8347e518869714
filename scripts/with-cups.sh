#!/usr/bin/env bash
# Runs a command with a CUPS scheduler that has the tests' cups-pdf queues, so that the printing
# tests run instead of skipping. A scheduler that runs already and has the queue is used as it
# is; otherwise one is started (as root, or through sudo) for the command and stopped after it.
# Where none can be started the command runs all the same, and the CUPS tests say they skipped.
#
#   scripts/with-cups.sh COMMAND [ARGUMENT...]
set -uo pipefail
cd "$(dirname "$0")/.."

queue=${ZELK_CUPS_QUEUE:-zelk-pdf}
if lpstat -p "$queue" >/dev/null 2>&1; then
    exec "$@"
fi

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
if pid=$("${sudo[@]}" scripts/start-cups.sh); then
    "$@"
    status=$?
    "${sudo[@]}" scripts/stop-cups.sh "$pid"
    exit $status
fi
echo "with-cups.sh: no CUPS scheduler for the printing tests; they will skip" >&2
exec "$@"
