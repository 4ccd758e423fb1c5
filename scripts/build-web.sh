#!/usr/bin/env bash
# Builds the browser build with Emscripten in build-web and puts the site together in build/web: the page,
# coilrun.js, coilrun.wasm, the default data (made by the native build in build/) and the demos.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
# Emscripten's JavaScript optimizer looks for its modules where Debian puts them, whichever node runs it.
export NODE_PATH=/usr/share/nodejs
[ -f build/data/LOGO.DAT ] || { echo "build-web: no default data in build/data; build the game first"; exit 1; }
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DCOILRUN_TESTS=OFF -DCOILRUN_WERROR=ON >/dev/null
cmake --build build-web -j "$jobs"
site=build/web
rm -rf "$site"
mkdir -p "$site/data" "$site/demos"
cp web/index.html web/coilrun-page.js build-web/coilrun.js build-web/coilrun.wasm "$site/"
cp build/data/*.DAT build/data/*.WAV "$site/data/"
# The page keeps the score table in the browser's storage, not on the server.
rm -f "$site/data/SCORE.DAT"
cp tests/demos/*.rec "$site/demos/"
echo "build-web: the site is in $site"
