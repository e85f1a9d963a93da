#!/usr/bin/env bash
# Installs the Debian packages that building and testing vantro need, when any is missing.
# Safe to run again: it does nothing once everything is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config clang-format ccache
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev
    libgtest-dev googletest
    clang libclang-rt-dev
    xvfb xauth
    libqrencode-dev
    git
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
# Refresh the package lists only when the install cannot find what it needs.
if ! as_root apt-get install -y --no-install-recommends "${missing[@]}"; then
    as_root apt-get update
    as_root apt-get install -y --no-install-recommends "${missing[@]}"
fi
