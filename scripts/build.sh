#!/usr/bin/env bash
# Configures and builds vantro into build/, installing what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Paths relative to the checkout let copies of the repository share cached objects.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
