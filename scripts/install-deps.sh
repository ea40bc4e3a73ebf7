#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, test and run Tessavox.
# A quick no-op when everything is already present.
set -euo pipefail

packages=(
    qt6-base-dev qt6-svg-dev cmake ninja-build g++ make
    libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core
    desktop-file-utils
    libfontconfig-dev zlib1g-dev libsndfile1-dev libsoxr-dev libeigen3-dev libboost-math-dev
    qt6-multimedia-dev
    help2man man-db appstream dpkg-dev file lintian
)
# Optional extras asked for by name, e.g. `install-deps.sh xvfb xdotool`.
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
