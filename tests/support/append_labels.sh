#!/bin/bash
# Appends the label lines numbered FIRST..LAST to the buffer file BUFFER in bursts of random
# size, the way a writer must: open for append, lock the file, check that its name still names
# the file opened (the label printer renames the buffer when it takes it; then open again),
# write whole lines, close. PAUSE_MS, if given, is the longest random pause between bursts.
# Usage: append_labels.sh BUFFER FIRST LAST [PAUSE_MS]
set -u
buffer=$1 next=$2 last=$3 pause=${4:-0}
while (( next <= last )); do
    burst=$(( RANDOM % 64 + 1 ))
    if (( next + burst - 1 > last )); then burst=$(( last - next + 1 )); fi
    exec {fd}>>"$buffer"
    flock "$fd"
    if [[ "$(stat -L -c %d:%i "/dev/fd/$fd")" != "$(stat -c %d:%i "$buffer" 2>/dev/null)" ]]; then
        exec {fd}>&-
        continue
    fi
    lines=
    for (( n = next; n < next + burst; n++ )); do
        printf -v line '%012d|II %d\r\n' "$n" "$n"
        lines+=$line
    done
    printf '%s' "$lines" >&"$fd"
    exec {fd}>&-
    next=$(( next + burst ))
    if (( pause > 0 )); then sleep "0.$(printf '%03d' $(( RANDOM % pause )))"; fi
done
