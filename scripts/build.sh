#!/usr/bin/env bash
# Configures and builds vantro into build/, installing what is missing first. With --sanitize,
# into build-sanitize/ with AddressSanitizer and UndefinedBehaviorSanitizer.
# Usage: scripts/build.sh [--sanitize] [TARGET...]   (default: everything)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Paths relative to the checkout let copies of the repository share cached objects.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
build=build
options=()
if [ "${1:-}" = --sanitize ]; then
    build=build-sanitize
    options=(-DVANTRO_SANITIZE=ON)
    shift
fi
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
