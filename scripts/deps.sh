#!/usr/bin/env bash
# Installs the Debian packages that building, testing and benchmarking Brindle need.
# Says nothing when every package is already there, so it can run before every build.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qtbase5-dev qttools5-dev qttools5-dev-tools
    qt5-image-formats-plugins # Qt's TIFF reader: without it no TIFF file can be queued
    libmagick++-dev
    imagemagick libvips-tools libjpeg-turbo-progs # the peers the benchmark compares with
    xvfb xauth # headless screenshots and running the program without a display
    locales # the test of file names under a Latin-1 locale makes one with localedef
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done
((${#missing[@]})) || exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing Debian packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
