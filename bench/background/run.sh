#!/usr/bin/env bash
# A minimized control window at the default settings for ten minutes, under Xvfb; see
# bench/README.md. MINUTES and INSTANT (1 or 0) change the run.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$repo"
scripts/build.sh
tests/e2e/setup.sh
export VANTRO_TESTHOST="$repo/build/vantro-testhost"
exec xvfb-run -a -s "-screen 0 1280x800x24" node bench/background/background.mjs
