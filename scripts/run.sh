#!/usr/bin/env bash
# Installs what is missing, makes an optimised build and starts NerixSDR (arguments are passed on).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNERIX_SANITIZE=OFF
cmake --build "$build" --target NerixSDR
exec "$build/bin/NerixSDR" "$@"
