#!/usr/bin/env bash
# Builds vantro when needed and starts the console on the user's display.
set -euo pipefail
cd "$(dirname "$0")"
scripts/build.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: no display (DISPLAY or WAYLAND_DISPLAY); run it from a desktop session," >&2
    echo "        or try it without one: xvfb-run ./run.sh" >&2
    exit 1
fi
echo "Starting the console. Session > New Session starts a session; the Server page's"
echo "Settings... button picks the content folder and port (default: your own copy of the"
echo "sample pages, port 80, which needs privileges: choose 8080 or another port)."
exec build/vantro "$@"
