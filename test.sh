#!/usr/bin/env bash
# Builds vantro and runs every test: formatting, unit and GUI tests, the browser tests, then the
# server, platform, robustness and fuzz-corpus tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
# With --sanitize (or VANTRO_SANITIZE=1) it runs the whole unit and GUI suite under the
# sanitizers instead, in build-sanitize/, and skips the browser tests.
set -euo pipefail
cd "$(dirname "$0")"
sanitize="${VANTRO_SANITIZE:-0}"
[ "${1:-}" = --sanitize ] && sanitize=1

# Reports stop the test that caused them.
sanitized_ctest() {
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-sanitize --output-on-failure -j2 "$@"
}

if [ "$sanitize" = 1 ]; then
    scripts/build.sh --sanitize
    echo "== unit and GUI tests under the sanitizers"
    sanitized_ctest
    exit 0
fi

scripts/build.sh

echo "== formatting"
# A release tarball has no .git: every C++ file under src, tests and bench is checked then.
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]; then
    git ls-files -co --exclude-standard 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
        'bench/*.cpp' 'bench/*.h'
else
    echo "not a git checkout: checking every C++ file under src, tests and bench" >&2
    find src tests bench -name node_modules -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print
fi | xargs -r clang-format --dry-run -Werror

echo "== unit and GUI tests"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2

echo "== browser tests"
tests/e2e/run.sh build/vantro-testhost

# The whole sanitized suite does not fit the time CI has; the server and platform do.
echo "== server and platform tests under the sanitizers"
scripts/build.sh --sanitize tests_server tests_platform tests_robustness tests_fuzz
sanitized_ctest -L '^(server|platform|robustness|fuzz)$'
