#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
# Not root: prints the exact command to run and fails, so nothing half-installed goes on.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang-14 libclang-rt-14-dev pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    libgumbo-dev qt6-httpserver-dev qt6-websockets-dev qt6-svg-dev libgl-dev
    qtkeychain-qt6-dev libsecret-1-0
    libbenchmark-dev xvfb xauth imagemagick dbus gnome-keyring
    desktop-file-utils appstream dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

line="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:" >&2
    echo "  $line" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
