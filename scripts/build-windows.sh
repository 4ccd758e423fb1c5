#!/usr/bin/env bash
# Cross-builds the Windows game with mingw-w64 in build-windows (the data tool runs under Wine to make the
# default data) and puts the download in build/windows/coilrun-<version>-windows-x64.zip. With `tests`,
# the same folder also builds the tests that scripts/run-tests.sh runs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
tests=OFF
[ "${1:-}" = tests ] && tests=ON
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DCOILRUN_WERROR=ON -DCOILRUN_TESTS=$tests >/dev/null
targets=(coilrun-windows-zip)
[ "$tests" = ON ] && targets+=(all coilrun-tests)
for target in "${targets[@]}"; do cmake --build build-windows -j "$jobs" --target "$target"; done
mkdir -p build/windows
rm -f build/windows/coilrun-*-windows-x64.zip
cp build-windows/coilrun-*-windows-x64.zip build/windows/
echo "build-windows: $(ls build/windows/coilrun-*-windows-x64.zip)"
