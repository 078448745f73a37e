#!/usr/bin/env bash
# Installs the Debian packages Tarnwick needs to build, run and test.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang libclang-rt-dev
  libgtest-dev libgmock-dev
  libguichan-dev libdevil-dev libsdl2-dev libsdl2-image-dev libpng-dev
  nlohmann-json3-dev
  fonts-dejavu-core libfreetype-dev
  libx11-dev xvfb xauth xdotool x11-utils
  dpkg-dev  # dpkg-shlibdeps, which finds the .deb's dependencies
)
if [ "${1:-}" = "--test" ]; then
  packages+=(python3 desktop-file-utils)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
