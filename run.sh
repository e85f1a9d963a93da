#!/usr/bin/env bash
# Builds vantro when needed and starts a session on the default content.
set -euo pipefail
cd "$(dirname "$0")"
scripts/build.sh

# The default content: a folder of the user's own, seeded once with the sample pages.
content="${XDG_DATA_HOME:-$HOME/.local/share}/Tarvel/Vantro/content"
if [ ! -d "$content" ]; then
    mkdir -p "$content"
    cp content/* "$content/"
fi
port="${VANTRO_PORT:-8080}"
address="$(hostname -I 2>/dev/null | awk '{print $1}')"
echo "Serving $content"
echo "Open http://${address:-127.0.0.1}:$port/ in a browser to log on."
echo "Type commands such as 'push-url-all example.org' or 'users'; Ctrl-D ends the session."
exec build/vantro-testhost --root "$content" --port "$port"
