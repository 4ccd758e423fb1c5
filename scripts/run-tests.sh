#!/usr/bin/env bash
# Runs every test: the release build's unit, whole-program and end-to-end tests, the Debian package's checks,
# the browser build's, the Windows build's under Wine, then the same tests in an address+undefined sanitizer
# build. Ends with one summary line.
set -u
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
passed=0
failed=0
steps_failed=()

count() {  # Adds ctest's counts from a log to the totals.
  local line total fails
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -1)
  [ -z "$line" ] && return
  fails=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed.*/\1/')
  total=$(echo "$line" | sed -E 's/.* out of ([0-9]+).*/\1/')
  passed=$((passed + total - fails))
  failed=$((failed + fails))
}

run_suite() {  # name, build folder, extra cmake options...
  local name=$1 dir=$2
  shift 2
  echo "== $name: configure and build in $dir"
  if ! cmake -S . -B "$dir" -DCOILRUN_WERROR=ON -DCOILRUN_TESTS=ON "$@" >"$dir.configure.log" 2>&1; then
    cat "$dir.configure.log"; steps_failed+=("$name configure"); return
  fi
  if ! cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1; then
    grep -E 'error|Error' "$dir.build.log" | head -40; steps_failed+=("$name build"); return
  fi
  echo "== $name: tests"
  (cd "$dir" && ctest -j "$jobs" --output-on-failure --timeout 600) 2>&1 | tee "$dir.test.log" | grep -E -v '^ +Start |Test +#[0-9]+: .* Passed'
  count "$dir.test.log"
  grep -q '100% tests passed' "$dir.test.log" || steps_failed+=("$name tests")
}

# One check of the package step: its name, then the command; counted and logged like a test.
package_check() {
  local name=$1 log
  shift
  log="build/deb/$(echo "$name" | tr ' ' '-').log"
  if "$@" >"$log" 2>&1; then
    passed=$((passed + 1))
    echo "   ok: $name"
  else
    failed=$((failed + 1))
    steps_failed+=("package: $name")
    echo "   FAILED: $name"
  fi
  cat "$log"
}

# groff's warnings about a manual page, if any.
manual_page_warnings() {
  local page warnings status=0
  for page in debian/*.6; do
    warnings=$(LC_ALL=C.UTF-8 groff -ww -z -man "$page" 2>&1) || status=1
    [ -z "$warnings" ] || { echo "$page: $warnings"; status=1; }
  done
  return $status
}

# The Debian package: built from a copy of the source, checked by lintian (no error, no warning), its
# manual pages by groff, and the game unpacked from it played end to end.
run_package() {
  echo "== package: build, lintian, manual pages, the unpacked game"
  if ! scripts/build-deb.sh; then steps_failed+=("package build"); return; fi
  local deb
  deb=$(ls build/deb/coilrun_*.deb)
  package_check lintian lintian --display-info --fail-on error,warning "$deb"
  package_check "manual pages" manual_page_warnings
  package_check "unpacked game" bash tests/e2e/unpacked_deb.sh "$deb" build/deb/e2e-artifacts
}

# The browser build, played, replayed and compared with the in-memory layer in headless Chromium; one step
# of the count. Needs the release build's data and reference tool.
run_web() {
  echo "== web: the browser build in build-web, end to end in headless Chromium"
  if ! scripts/build-web.sh >build-web.build.log 2>&1; then
    grep -E 'error|Error' build-web.build.log | head -40; steps_failed+=("web build"); failed=$((failed + 1)); return
  fi
  if ! build/coilrun-web-reference build/data build/web-reference tests/demos/*.rec >/dev/null; then
    steps_failed+=("web reference"); failed=$((failed + 1)); return
  fi
  /usr/bin/python3 tests/web/web_e2e.py build/web build/web-reference tests/demos build/e2e-artifacts/web \
    2>&1 | tee build-web.test.log
  if ! grep -q '^web end-to-end: PASS' build-web.test.log; then
    steps_failed+=("web end-to-end"); failed=$((failed + 1)); return
  fi
  passed=$((passed + 1))
}

# The Windows build, cross-built with mingw-w64 in build-windows with its zip and tests; the tests run under
# Wine, those with a window under Xvfb.
run_windows() {
  echo "== windows: cross-build in build-windows, tests under Wine"
  if ! scripts/build-windows.sh tests >build-windows.build.log 2>&1; then
    grep -E 'error|Error' build-windows.build.log | head -40; steps_failed+=("windows build"); return
  fi
  (cd build-windows && ctest --output-on-failure --timeout 600) 2>&1 | tee build-windows.test.log |
    grep -E -v '^ +Start |Test +#[0-9]+: .* Passed'
  count build-windows.test.log
  grep -q '100% tests passed' build-windows.test.log || steps_failed+=("windows tests")
}

mkdir -p build
if ! .ci/check-sources.sh; then failed=$((failed + 1)); steps_failed+=("source rules"); else passed=$((passed + 1)); fi
run_suite release build -DCMAKE_BUILD_TYPE=Release
run_package
run_web
run_windows
run_suite sanitizer build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCOILRUN_SANITIZE=ON

if [ ${#steps_failed[@]} -gt 0 ]; then
  echo "failed steps: ${steps_failed[*]}"
  [ "$failed" -eq 0 ] && failed=${#steps_failed[@]}
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ ${#steps_failed[@]} -eq 0 ]
