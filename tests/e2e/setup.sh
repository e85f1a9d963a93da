#!/bin/bash
# Installs what the browser tests need: Debian's Chromium and Firefox ESR, and the npm
# packages of this folder. Safe to run again; never downloads a browser build of its own.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

export PUPPETEER_SKIP_DOWNLOAD=1
export PUPPETEER_SKIP_CHROME_DOWNLOAD=1
export PUPPETEER_SKIP_CHROME_HEADLESS_SHELL_DOWNLOAD=1
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

apt_install() {
  export DEBIAN_FRONTEND=noninteractive
  # Only refresh the package lists when the install cannot find what it needs.
  if ! as_root apt-get install -y --no-install-recommends "$@"; then
    as_root apt-get update
    as_root apt-get install -y --no-install-recommends "$@"
  fi
}

packages=()
[ -x /usr/bin/chromium ] || packages+=(chromium)
[ -x /usr/bin/firefox-esr ] || packages+=(firefox-esr)
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)
if [ ${#packages[@]} -gt 0 ]; then
  echo "setup.sh: installing ${packages[*]}"
  apt_install "${packages[@]}"
fi

node_major="$(node -p 'process.versions.node.split(".")[0]')"
if [ "$node_major" -lt 18 ]; then
  echo "setup.sh: Node.js 18 or later is needed, found $(node --version)" >&2
  exit 1
fi

# npm records the installed tree in node_modules/.package-lock.json; reinstall only when the
# lock file or the manifest is newer than that.
cd "$here"
stamp=node_modules/.package-lock.json
if [ ! -f "$stamp" ] || [ package-lock.json -nt "$stamp" ] || [ package.json -nt "$stamp" ]; then
  if [ -f package-lock.json ]; then
    npm ci --no-audit --no-fund
  else
    npm install --no-audit --no-fund
  fi
fi
