#!/bin/bash
# Runs the browser tests against a test host binary.
# Usage: tests/e2e/run.sh [path/to/vantro-testhost]   (default: build/vantro-testhost of this repository)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"

host="${1:-$repo/build/vantro-testhost}"
# A relative path is taken from the caller's directory, before we change ours.
case "$host" in
  /*) ;;
  *) host="$PWD/$host" ;;
esac

"$here/setup.sh"

if [ ! -x "$host" ]; then
  echo "run.sh: no test host at $host (build the vantro-testhost target first)" >&2
  exit 1
fi

cd "$here"
export VANTRO_TESTHOST="$host"
exec node --test --test-concurrency=1 test/
