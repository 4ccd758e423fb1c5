#!/usr/bin/env bash
# Plants each fault of tests/faults/*.fault in turn, rebuilds the fast tests (coilrun-tests and
# coilrun-sdl-tests) in their own build folder, runs them without the golden game, and says whether they
# caught it. The source is put back after every fault, also when the script is stopped.
#
#   tests/faults/run.sh [--golden | --check] [NAME...]
#
# NAME picks faults by file name (without .fault); --golden runs the golden game too; --check only says
# whether each fault still applies, building and running nothing. A fault file holds
# its category, what it breaks, the exact code it replaces (found anywhere under src/, and only once) and
# its faulty replacement; a fault whose code is no longer there fails the run with "no longer applies".
# Exit status: 0 when every fault applied and was caught, 1 when one escaped, 2 when one did not apply or
# build, or the tests fail without any fault.
set -u
cd "$(dirname "$0")/../.."
root=$(pwd)
build=${COILRUN_FAULTS_BUILD:-build-faults}
jobs=${COILRUN_FAULTS_JOBS:-2}
filter='-GoldenGameTest.*'
check=false
names=()
for arg in "$@"; do
  case "$arg" in
    --golden) filter='*' ;;
    --check) check=true ;;
    -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) names+=("$arg") ;;
  esac
done
faults=()
if [ ${#names[@]} -eq 0 ]; then
  faults=(tests/faults/*.fault)
else
  for name in "${names[@]}"; do faults+=("tests/faults/${name%.fault}.fault"); done
fi
logs="$build/fault-logs"
mkdir -p "$logs"
# One run at a time in a tree: a second would plant its faults over the first's.
exec 9>"$logs/lock"
flock -n 9 || { echo "faults: another run is under way in $build"; exit 2; }

# apply FAULT: plants the fault, saving the original file under $logs/original; prints the file's path.
# check FAULT: the same checks without touching anything.
plant() {
  python3 - "$1" "$2" "$logs/original" <<'EOF'
import pathlib, subprocess, sys
action, fault, keep = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
if not fault.is_file():
    sys.exit(f"no fault file {fault}")
text = fault.read_text()
if "\n--- in\n" not in text or "\n--- out\n" not in text:
    sys.exit(f"{fault}: wants a '--- in' and a '--- out' section")
head, body = text.split("\n--- in\n", 1)
before, after = body.split("\n--- out\n", 1)
after = after[:-1] if after.endswith("\n") else after
files = subprocess.run(["git", "ls-files", "src"], capture_output=True, text=True, check=True).stdout.split()
hits = [(f, pathlib.Path(f).read_text().count(before)) for f in files if f.endswith((".cpp", ".h"))]
hits = [(f, n) for f, n in hits if n > 0]
where = sum(n for _, n in hits)
if where != 1:
    places = ", ".join(f for f, _ in hits) or "nowhere"
    sys.exit(f"fault {fault.stem} no longer applies: its code is found {where} times under src/ ({places})")
path = pathlib.Path(hits[0][0])
if action == "apply":
    original = path.read_text()
    keep.write_text(str(path) + "\n" + original)
    path.write_text(original.replace(before, after))
print(path)
EOF
}

restore() {
  [ -f "$logs/original" ] || return 0
  python3 - "$logs/original" <<'EOF'
import pathlib, sys
keep = pathlib.Path(sys.argv[1])
path, original = keep.read_text().split("\n", 1)
pathlib.Path(path).write_text(original)
keep.unlink()
EOF
}
trap 'restore; exit 130' INT TERM
trap restore EXIT
restore  # a run stopped hard may have left a fault planted

if $check; then
  broken=0
  for fault in "${faults[@]}"; do
    if ! where=$(plant check "$fault" 2>&1); then
      echo "NO LONGER APPLIES  $(basename "$fault" .fault): $where"
      broken=$((broken + 1))
    fi
  done
  echo "faults: $((${#faults[@]} - broken)) of ${#faults[@]} apply"
  [ $broken -eq 0 ] && exit 0 || exit 2
fi

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCOILRUN_TESTS=ON -DCOILRUN_WERROR=ON "${launcher[@]}" \
    >"$logs/configure.log" 2>&1 || { cat "$logs/configure.log"; exit 2; }
fi

build_tests() { cmake --build "$build" -j "$jobs" --target coilrun-tests coilrun-sdl-tests >"$1" 2>&1; }

# Runs the fast tests; prints the failed tests (or how the run ended) and returns 1 when any failed.
run_tests() {
  local log=$1 status=0 failed
  : >"$log"
  for program in coilrun-tests coilrun-sdl-tests; do
    local args=()
    [ "$program" = coilrun-tests ] && args=(--gtest_filter="$filter")
    # Every test has its own limits; this bound is for a fault that defeats them all.
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout -k 5 300 "$build/$program" "${args[@]}" >>"$log" 2>&1
    local code=$?
    if [ $code -ne 0 ]; then
      status=1
      if [ $code -eq 124 ]; then
        echo "$program HUNG"
      elif [ $code -gt 128 ]; then
        echo "$program crashed (signal $((code - 128)))"
      fi
    fi
  done
  failed=$(grep -E '^\[  FAILED  \] [A-Za-z0-9_]+\.' "$log" | sed -E 's/^\[  FAILED  \] ([^ ]+).*/\1/' | sort -u)
  [ -n "$failed" ] && echo "$failed"
  return $status
}

echo "faults: building the fast tests in $build"
build_tests "$logs/build.log" || { tail -40 "$logs/build.log"; exit 2; }
if ! run_tests "$logs/no-fault.log" >/dev/null; then
  echo "faults: the fast tests fail with no fault planted; see $logs/no-fault.log"
  exit 2
fi

caught=0
escaped=0
broken=0
escapes=()
for fault in "${faults[@]}"; do
  name=$(basename "$fault" .fault)
  category=$(sed -n 's/^category: //p' "$fault" | head -1)
  if [ ! -f "$fault" ] || ! file=$(plant apply "$fault" 2>&1); then
    echo "NO LONGER APPLIES  $name: ${file:-no such fault file}"
    broken=$((broken + 1))
    continue
  fi
  started=$(date +%s)
  if ! build_tests "$logs/$name.build.log"; then
    restore
    echo "DOES NOT BUILD     $name ($file); see $logs/$name.build.log"
    broken=$((broken + 1))
    continue
  fi
  found=$(run_tests "$logs/$name.log")
  result=$?
  restore
  seconds=$(($(date +%s) - started))
  if [ $result -ne 0 ]; then
    caught=$((caught + 1))
    echo "caught             $name [$category] in ${seconds}s by: $(echo "$found" | head -3 | tr '\n' ' ')"
  else
    escaped=$((escaped + 1))
    escapes+=("$name")
    echo "ESCAPED            $name [$category] ($file)"
  fi
done
echo "faults: $caught caught, $escaped escaped, $broken did not apply or build, of ${#faults[@]}"
[ ${#escapes[@]} -gt 0 ] && echo "escaped: ${escapes[*]}"
# Put the tests back as the source is, so that the build folder holds no fault.
build_tests "$logs/build.log" >/dev/null 2>&1
[ $broken -gt 0 ] && exit 2
[ $escaped -gt 0 ] && exit 1
exit 0
