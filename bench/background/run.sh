#!/usr/bin/env bash
# A minimized control window at the default settings for ten minutes, under Xvfb with a small
# window manager (without one nothing can be minimized); see bench/README.md. BROWSER
# (chromium or firefox), MINUTES and INSTANT (1 or 0) change the run.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$repo"
scripts/build.sh
tests/e2e/setup.sh
if ! command -v openbox >/dev/null || ! command -v xdotool >/dev/null; then
    as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y --no-install-recommends openbox xdotool
fi
export VANTRO_TESTHOST="$repo/build/vantro-testhost"
exec xvfb-run -a -s "-screen 0 1280x800x24" \
    bash -c 'openbox & sleep 1; node bench/background/background.mjs; status=$?; kill %1; exit $status'
