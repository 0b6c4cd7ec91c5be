#!/usr/bin/env bash
# Installs the Debian packages NerixSDR needs, only those that are missing.
# --fuzz adds clang and its libFuzzer runtime, for the fuzz tree that scripts/fuzz.sh builds.
# --sound-server adds the private PulseAudio daemon the end-to-end sound test runs against; the test
# command asks for it only under CI=true, since on a desktop it would sit beside the user's own server.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config linux-libc-dev clang-format
    qt6-base-dev qt6-wayland
    libgtest-dev libgmock-dev libbenchmark-dev
    libfftw3-dev libhamlib-dev libhamlib-utils libftdi1-dev librtaudio-dev
    libxcb1-dev libxcb-xtest0-dev
    xvfb xauth
    fonts-dejavu-core
    # The windows are laid out for Tahoma's and Courier New's metrics: Wine's Tahoma and Liberation Mono.
    fonts-wine fonts-liberation
    locales
    sox
)
for option in "$@"; do
    case $option in
    --sound-server) packages+=(pulseaudio pulseaudio-utils) ;;
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    *)
        echo "Unknown option: $option" >&2
        exit 2
        ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

# How long an apt call waits for a package lock that another apt (an unattended upgrade) holds.
lock_wait=300

# apt-get update takes the package lists' lock without waiting (DPkg::Lock::Timeout covers dpkg's locks
# only), so it is tried again while another apt holds that lock, for the same bounded time.
apt_update() {
    local deadline=$((SECONDS + lock_wait)) out
    until out=$("${sudo_cmd[@]}" env LC_ALL=C apt-get -qq update 2>&1); do
        if [[ $out != *"Could not get lock"* ]] || ((SECONDS >= deadline)); then
            printf '%s\n' "$out" >&2
            return 1
        fi
        echo "Waiting for another apt to release the package lists..."
        sleep 5
    done
}

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    apt_update
    # env passes the setting through sudo, which would otherwise drop it.
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout="$lock_wait" \
        install -y -qq --no-install-recommends "${missing[@]}"
fi

# The settings tests read numbers under a German locale (comma as the decimal separator).
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "Could not generate the de_DE.UTF-8 locale"
fi
