#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-fuzz/ and runs them, one after the other, each for the given seconds (default 60)
# or until it has made RUNS executions, whichever comes first.
# Usage: scripts/fuzz.sh [TARGET] [SECONDS] [RUNS]   (targets: the folders of tests/fuzz/corpus/)
# New inputs that reach new code go to build-fuzz/corpus/TARGET/, the repository's seeds stay
# as they are; a finding stops the run and leaves its input in build-fuzz/ (crash-..., leak-...).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

target="${1:-all}"
seconds="${2:-60}"
runs="${3:--1}"
seeds=tests/fuzz/corpus
if [ "$target" = all ]; then
    targets=$(ls "$seeds")
elif [ -d "$seeds/$target" ]; then
    targets="$target"
else
    echo "fuzz.sh: no target $target (known: $(ls "$seeds" | tr '\n' ' '))" >&2
    exit 2
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTRO_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
# Building one target at a time keeps to two jobs on a shared machine.
for name in $targets; do
    cmake --build build-fuzz -j2 --target "fuzz_$name"
done

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
for name in $targets; do
    echo "== fuzz_$name for ${seconds}s"
    mkdir -p "build-fuzz/corpus/$name"
    (cd build-fuzz && "./tests/fuzz/fuzz_$name" -max_total_time="$seconds" -runs="$runs" -print_final_stats=1 \
        -max_len=16384 -timeout=10 "corpus/$name" "../$seeds/$name")
done
