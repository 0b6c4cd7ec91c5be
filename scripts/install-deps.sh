#!/usr/bin/env bash
# Installs the Debian packages NerixSDR needs, only those that are missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config linux-libc-dev
    qt6-base-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libfftw3-dev libhamlib-dev libhamlib-utils libftdi1-dev librtaudio-dev
    xvfb xauth
)

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
