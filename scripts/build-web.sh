#!/usr/bin/env bash
# Builds the browser build with Emscripten in build-web and puts the site together in build/web: the page
# with its web app manifest, icons and service worker, coilrun.js, coilrun.wasm, the default data with its
# manifest (made by the native build in build/) and the demos.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
# Emscripten's JavaScript optimizer looks for its modules where Debian puts them, whichever node runs it.
export NODE_PATH=/usr/share/nodejs
[ -f build/data/files.json ] || { echo "build-web: no default data in build/data; build the game first"; exit 1; }
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DCOILRUN_TESTS=OFF -DCOILRUN_WERROR=ON >/dev/null
cmake --build build-web -j "$jobs"
site=build/web
rm -rf "$site"
mkdir -p "$site/data" "$site/demos"
cp web/index.html web/coilrun-page.js web/manifest.webmanifest build-web/coilrun.js build-web/coilrun.wasm "$site/"
cp build/data/*.DAT build/data/*.WAV build/data/files.json "$site/data/"
# The page keeps the score table in the browser's storage, not on the server.
rm -f "$site/data/SCORE.DAT"
cp tests/demos/*.rec "$site/demos/"
# The icons and the favicon, from the game's own icon.
cp dist/coilrun.svg "$site/icon.svg"
for size in 16 32 48 180 192 512; do
  rsvg-convert -w "$size" -h "$size" dist/coilrun.svg -o "$site/icon-$size.png"
done
convert "$site/icon-16.png" "$site/icon-48.png" "$site/icon-32.png" "$site/favicon.ico"
rm -f "$site/icon-16.png" "$site/icon-48.png"
# The service worker names this version of the site by a digest of its files, so that any change makes a
# new worker, which replaces the kept copy on the next visit.
version=$(cd "$site" && find . -type f -print0 | sort -z | xargs -0 sha256sum | sha256sum | cut -c1-16)
files=$(cd "$site" && find . -type f ! -path './data/*' -printf "'%P'\n" | sort | paste -sd, -)
{
  echo "const kSiteVersion = '$version';"
  echo "const kSiteFiles = [$files];"
  cat web/coilrun-sw.js
} >"$site/coilrun-sw.js"
echo "build-web: the site is in $site (version $version)"
