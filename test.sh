#!/usr/bin/env bash
# Builds vantro and runs every test: formatting, unit and GUI tests, then the browser tests.
set -euo pipefail
cd "$(dirname "$0")"
scripts/build.sh

echo "== formatting"
git ls-files -co --exclude-standard 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' | xargs -r clang-format --dry-run -Werror

echo "== unit and GUI tests"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2

echo "== browser tests"
tests/e2e/run.sh build/vantro-testhost
