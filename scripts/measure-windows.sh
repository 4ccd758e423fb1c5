#!/usr/bin/env bash
# Measures the Windows build under Wine beside the Linux build, on one private X server: how soon the logo
# shows after the start, and the processor time the game takes while the logo waits for a key (over
# MEASURE_SECONDS, from /proc/PID/stat; under Wine the wineserver's time is added). Wine is timed on a cold
# start (its server not running; the prefix made beforehand) and on a warm one (its server and desktop
# process running, as Windows' own always are).
# Usage: scripts/measure-windows.sh [LINUX_BUILD] [WINDOWS_BUILD]
set -u
cd "$(dirname "$0")/.."
linux=$(realpath "${1:-build}")
windows=$(realpath "${2:-build-windows}")
seconds=${MEASURE_SECONDS:-10}
hz=$(getconf CLK_TCK)
export WINEPREFIX=${WINEPREFIX:-$windows/wine-prefix}
work=$(mktemp -d /tmp/coilrun-measure.XXXXXX)
xvfb=
game=
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
xvfb=$!
read -r -t 10 number <"$work/displayfd" || { echo "measure-windows: Xvfb did not start"; exit 1; }
export DISPLAY=":$number"
cp "$linux"/data/*.DAT "$linux"/data/*.WAV "$work"/
head -c 1036 /dev/zero >"$work/SCORE.DAT"

ticks_of() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
drawn() {
  local mean
  mean=$(import -window root -resize 64x48 png:- 2>/dev/null | convert png:- -format '%[fx:int(mean*1000)]' info: 2>/dev/null)
  [ -n "$mean" ] && [ "$mean" -gt 20 ]
}
# Starts the game given as arguments, waits for the logo, then measures; prints one line.
measure() {
  local label=$1 start logo before after server_before server_after server
  shift
  xdotool search --name 'Coilrun 0.2' windowunmap >/dev/null 2>&1
  start=$(now_ms)
  (cd "$work" && SDL_AUDIODRIVER=dummy exec "$@" >/dev/null 2>&1) &
  game=$!
  until drawn; do
    [ $(($(now_ms) - start)) -lt 60000 ] || { echo "$label: no logo within 60 s"; return; }
    sleep 0.02
  done
  logo=$(($(now_ms) - start))
  sleep 2
  server=$(pgrep -n wineserver || true)
  before=$(ticks_of "$game")
  server_before=$([ -n "$server" ] && ticks_of "$server" || echo 0)
  sleep "$seconds"
  after=$(ticks_of "$game")
  server_after=$([ -n "$server" ] && ticks_of "$server" || echo 0)
  local used=$(( (after - before) + (server_after - server_before) ))
  printf '%-28s logo after %5d ms   CPU at the logo %5.2f%% of a core\n' "$label" "$logo" \
    "$(echo "scale=4; $used * 100 / ($hz * $seconds)" | bc)"
  kill "$game" 2>/dev/null
  wait "$game" 2>/dev/null
  game=
  sleep 1
}
measure "Linux (SDL)" "$linux/coilrun"
wineserver -k 2>/dev/null
sleep 1
measure "Windows under Wine, cold" "$PWD/scripts/wine-run.sh" "$windows/coilrun.exe"
# Warm: Wine's server and desktop process kept running from the run before, as Windows' own always are.
wineserver -k 2>/dev/null
sleep 1
wineserver -p
measure "Windows under Wine, warming" "$PWD/scripts/wine-run.sh" "$windows/coilrun.exe"
measure "Windows under Wine, warm" "$PWD/scripts/wine-run.sh" "$windows/coilrun.exe"
wineserver -k 2>/dev/null
