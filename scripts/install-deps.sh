#!/usr/bin/env bash
# Installs the Debian packages Coilrun needs, where any is missing: `install-deps.sh run` what building and
# running the game, the data tool and the default data need; `install-deps.sh windows` what the Windows
# build needs; `install-deps.sh test` (the default) all of those and what the tests, benchmarks and fuzz
# targets add.
set -euo pipefail

run_packages=(build-essential cmake pkg-config libsdl2-dev libpng-dev)
# SDL2_image is a benchmark's yardstick, clang builds the fuzz targets, Xvfb, xdotool and ImageMagick run and
# watch the end-to-end tests, appstream checks the store metainfo.
test_packages=(libsdl2-image-dev libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth
  xdotool imagemagick appstream
  # The browser build (rsvg-convert draws its icons) and its end-to-end test in headless Chromium, driven from
  # Python over DevTools.
  emscripten librsvg2-bin chromium python3 python3-websocket)
# The Windows build (make windows): mingw-w64 cross-builds it, the data tool runs under Wine, stb writes
# screenshots, rsvg-convert and ImageMagick draw the program's icon, GoogleTest's sources build the tests for
# Windows, which run under Wine too.
windows_packages=(cmake g++-mingw-w64-x86-64-posix wine wine64 libstb-dev librsvg2-bin imagemagick googletest)
# Building and checking the Debian package (make deb, and make test's package step).
package_packages=(debhelper dpkg-dev fakeroot lintian groff)

case "${1:-test}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}" "${package_packages[@]}" "${windows_packages[@]}") ;;
  windows) packages=("${windows_packages[@]}") ;;
  *) echo "usage: $0 [run|test|windows]" >&2; exit 2 ;;
esac

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
