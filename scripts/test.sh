#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test; then runs every fuzz target for a bounded time (scripts/fuzz.sh, NERIX_FUZZ_SECONDS).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${CI:-}" = "true" ]; then
    scripts/install-deps.sh --sound-server
else
    scripts/install-deps.sh
fi

# Formatting first: a drifted file fails at once, before the long build.
scripts/check-format.sh

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNERIX_SANITIZE=ON -DNERIX_WERROR=ON
cmake --build "$build"

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300

# The fuzz targets last: they take minutes under CI=true, and a failing test should show first.
scripts/fuzz.sh
