#!/usr/bin/env bash
# Builds the Debian package, has lintian check it (any error fails), installs it, checks what it
# put in place, starts the program the way its desktop entry does on a private X server and
# closes it on request, then purges the package and checks that nothing of it is left. Runs as
# root, after `make test`.
set -euo pipefail
cd "$(dirname "$0")/../.."

readonly title='Drukowanie kodów kreskowych'
readonly entry=/usr/share/applications/zelk_nal.desktop
readonly autostart=/etc/xdg/autostart/zelk_nal.desktop

fail()
{
    echo "30-package: FAILED: $*" >&2
    exit 1
}

work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup()
{
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    if dpkg-query -W -f='${Status}' zelk-nal 2>/dev/null | grep -q installed; then
        apt-get purge -y -qq zelk-nal >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

make package
deb=$(ls -t "${BUILD_DIR:-build}"/zelk-nal_*.deb | head -n 1)
[ -f "$deb" ] || fail "no package built"
echo "package: $deb"
dpkg-deb -f "$deb" Package Version Section Maintainer Depends Recommends
lintian --fail-on error "$deb" || fail "lintian reports errors in $deb"

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
installed_files=$(dpkg-query -L zelk-nal)

[ -x /usr/bin/zelk_nal ] || fail "/usr/bin/zelk_nal is missing"
for doc in /usr/share/man/man1/zelk_nal.1.gz /usr/share/doc/zelk-nal/{copyright,changelog.gz}; do
    [ -f "$doc" ] || fail "$doc is missing"
done
cmp -s "$entry" "$autostart" || fail "$autostart differs from $entry"
for desktop_file in "$entry" "$autostart"; do
    desktop-file-validate "$desktop_file" || fail "$desktop_file does not validate"
done
grep -qx "Name=$title" "$entry" || fail "$entry has no Polish name"
grep -qx 'Icon=zelk_nal' "$entry" || fail "$entry names no icon"
for side in 16 22 24 32 48 64 128 256; do
    icon=/usr/share/icons/hicolor/${side}x${side}/apps/zelk_nal.png
    [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${side}x${side}" ] ||
        fail "$icon is not a ${side}x${side} PNG"
done

# The program as the desktop starts it: the entry's command line (that of the [Desktop Entry]
# group, not of its actions), no field codes in it.
exec_line=$(sed -n '/^\[Desktop Entry\]/,/^\[/ s/^Exec=//p' "$entry")
[[ "$exec_line" != *%* ]] || fail "unexpected field code in Exec=$exec_line"
mkdir -m 700 "$work/runtime"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")" XDG_RUNTIME_DIR="$work/runtime" HOME="$work"
unset QT_QPA_PLATFORM

(cd "$work" && exec $exec_line) &
program_pid=$!
found=
for _ in $(seq 100); do
    found=$(xdotool search --name "^$title\$" 2>/dev/null || true)
    [ -n "$found" ] && break
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended at start-up"
    sleep 0.2
done
[ -n "$found" ] || fail "no window titled '$title' appeared"
zelk_nal --close || fail "zelk_nal --close exited with $?"
program_status=0
wait "$program_pid" || program_status=$?
program_pid=
[ "$program_status" -eq 0 ] || fail "the program exited with $program_status"
[ -d "$HOME/.local/share/zelk_nal/temp" ] ||
    fail "the installed program did not make its folder in the user's data folder"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq zelk-nal >/dev/null
! dpkg-query -W zelk-nal >/dev/null 2>&1 || fail "dpkg still knows zelk-nal after purging"
while read -r path; do
    [ -d "$path" ] || [ ! -e "$path" ] || fail "$path is left after purging"
done <<<"$installed_files"
left=$(find /usr/bin /usr/share/applications /etc/xdg/autostart /usr/share/icons/hicolor \
    -name 'zelk_nal*' -o -path /usr/bin/temp 2>/dev/null)
[ -z "$left" ] || fail "left after purging: $left"
echo "30-package: the package installs, starts from its desktop entry and purges cleanly"
