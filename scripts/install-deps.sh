#!/usr/bin/env bash
# Installs the Debian packages the program needs ("run"), needs to be tested ("test") or
# measured against its peer ("bench"), skipping those already installed. Uses sudo when not
# run as root.
set -euo pipefail

run_packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-translations-l10n libcups2-dev libxcb1-dev
    fonts-dejavu-core fonts-liberation fonts-urw-base35
    glabels-data
)
test_packages=(
    libgtest-dev libzxing-dev libzbar-dev
    xvfb xdotool trayer openbox x11-utils imagemagick
    poppler-utils zbar-tools
    cups printer-driver-cups-pdf
    clang libclang-rt-14-dev
    dpkg-dev desktop-file-utils lintian
    dbus-daemon python3-dbus python3-gi
)

bench_packages=(glabels)

packages=("${run_packages[@]}")
case "${1:-run}" in
test) packages+=("${test_packages[@]}") ;;
bench) packages+=("${test_packages[@]}" "${bench_packages[@]}") ;;
esac

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
