#!/usr/bin/env bash
# Installs the Debian packages NerixSDR needs, only those that are missing.
# --sound-server adds the private PulseAudio daemon the end-to-end sound test runs against; the test
# command asks for it only under CI=true, since on a desktop it would sit beside the user's own server.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config linux-libc-dev
    qt6-base-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libfftw3-dev libhamlib-dev libhamlib-utils libftdi1-dev librtaudio-dev
    libxcb1-dev
    xvfb xauth
    fonts-dejavu-core
    locales
    sox
)
if [ "${1:-}" = "--sound-server" ]; then
    packages+=(pulseaudio pulseaudio-utils)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The settings tests read numbers under a German locale (comma as the decimal separator).
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "Could not generate the de_DE.UTF-8 locale"
fi
