#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Coilrun need, where any is missing.
set -euo pipefail

packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-image-dev libpng-dev libgtest-dev libgmock-dev
  libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xdotool imagemagick)
# Building and checking the Debian package (make deb, and make test's package step).
packages+=(debhelper dpkg-dev fakeroot lintian groff)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  sudo=(sudo -n)
else
  echo "coilrun: these packages are missing; install them, then run make again:"
  echo "  sudo apt-get install -y ${missing[*]}"
  exit 1
fi
echo "coilrun: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
