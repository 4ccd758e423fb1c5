#!/usr/bin/env bash
# Builds the Debian package (dpkg-buildpackage -us -uc -b) from a copy of the source under build/, so that
# what it writes beside the source folder stays inside the repository, and leaves the package, its build
# record and its log in build/deb/.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(dpkg-parsechangelog -S Version)
game_version=$(sed -n -E 's/^project\(coilrun VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
if [ "$version" != "$game_version" ]; then
  echo "coilrun: debian/changelog is at $version but the game at $game_version: add a changelog entry (dch -v)"
  exit 1
fi
work=build/deb-work
out=build/deb
rm -rf "$work" "$out"
mkdir -p "$work/coilrun-$version" "$out"
# The source as it stands, edits included, without what git ignores (the build folders) and the history.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard | tar -c --null --ignore-failed-read -T - 2>/dev/null |
    tar -x -C "$work/coilrun-$version"
else
  tar -c --exclude-vcs --exclude='./build*' --exclude='./out' . | tar -x -C "$work/coilrun-$version"
fi
# ccache only where the machine has it; the package never needs it.
if command -v ccache >/dev/null 2>&1; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
export DEB_BUILD_OPTIONS="parallel=$(nproc 2>/dev/null || echo 2) ${DEB_BUILD_OPTIONS:-}"
if ! (cd "$work/coilrun-$version" && dpkg-buildpackage -us -uc -b) >"$out/build.log" 2>&1; then
  tail -40 "$out/build.log"
  echo "coilrun: the package did not build; the whole log is in $out/build.log"
  exit 1
fi
mv "$work"/*.deb "$work"/*.buildinfo "$work"/*.changes "$out/"
rm -rf "$work"
ls "$out"/coilrun_"$version"_*.deb
