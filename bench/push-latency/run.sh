#!/usr/bin/env bash
# Push latency, instant delivery on and off side by side; see bench/README.md.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$repo"
scripts/build.sh
tests/e2e/setup.sh
export VANTRO_TESTHOST="$repo/build/vantro-testhost"
exec node bench/push-latency/push-latency.mjs
