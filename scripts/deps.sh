#!/usr/bin/env bash
# Installs the Debian packages that building, testing and benchmarking Brindle need.
# Says nothing when every package is already there, so it can run before every build.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qtbase5-dev qttools5-dev qttools5-dev-tools
    qt5-image-formats-plugins # Qt's TIFF reader: without it no TIFF file can be queued
    libmagick++-dev
    libtiff-dev # the engine routes libtiff's messages, which the image library and Qt share
    imagemagick libvips-tools libjpeg-turbo-progs # the peers the benchmark compares with
    xvfb xauth # headless screenshots and running the program without a display
    locales # the test of file names under a Latin-1 locale makes one with localedef
    help2man # the command line's manual page, made from its --help
    dpkg-dev # dpkg-shlibdeps: the package's dependencies, computed from the binaries
    parallel # GNU parallel, which the command line's test spreads a run with
    bsdutils # script(1): the command line's progress test runs it under a pseudo terminal
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
