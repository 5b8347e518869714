#!/usr/bin/env bash
# Starts a CUPS scheduler with cups-pdf queues for the printing tests, and prints the process id
# of the scheduler it started (stop it with scripts/stop-cups.sh PID), or nothing when one ran
# already: that one gets the queues and is left running.
#
#   scripts/start-cups.sh [QUEUE [OUTPUT_FOLDER]]
#
# QUEUE defaults to zelk-pdf, OUTPUT_FOLDER to /tmp/zelk-cups-pdf. Installs nothing: the
# packages cups and printer-driver-cups-pdf must be there. Needs root (cupsd, lpadmin and the
# cups-pdf configuration in /etc/cups). The tests find the queue and the folder through
# ZELK_CUPS_QUEUE and ZELK_CUPS_OUT, which default to the same values.
set -euo pipefail

queue=${1:-zelk-pdf}
out=${2:-/tmp/zelk-cups-pdf}
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

for tool in cupsd lpadmin lpstat; do
    command -v "$tool" >/dev/null || { echo "start-cups.sh: $tool is not installed" >&2; exit 1; }
done
[ -f "$ppd" ] || { echo "start-cups.sh: cups-pdf is not installed ($ppd)" >&2; exit 1; }

pid=
if pgrep -x cupsd >/dev/null; then
    echo "start-cups.sh: cupsd already runs" >&2
else
    mkdir -p /run/cups
    cupsd -f >/dev/null 2>&1 &
    pid=$!
fi

for _ in $(seq 50); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.1
done
lpstat -r | grep -q "is running" || { echo "start-cups.sh: cupsd did not start" >&2; exit 1; }

# A second queue, QUEUE-2 writing into OUTPUT_FOLDER-2, for the tests that count every sheet
# printed and so must not share their queue.
for name in "$queue" "$queue-2"; do
    folder=$out${name#"$queue"}
    mkdir -p "$folder"
    chmod 1777 "$folder"
    cat >"/etc/cups/cups-pdf-$name.conf" <<CONF
Out $folder
AnonDirName $folder
Label 0
CONF
    lpadmin -p "$name" -v "cups-pdf:/$name" -P "$ppd" -E
done
echo "$pid"
