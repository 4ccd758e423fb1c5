#!/usr/bin/env bash
# Measures how light the game is on the machine, under Xvfb: how soon its window shows, the processor time
# it takes on each screen (from /proc/PID/stat, over MEASURE_SECONDS per screen), set beside a bare loop that
# only uploads and presents a frame at the same rate on a second X server at the same time, and its peak
# resident memory. The logo, menu, intro, banner, stage 1 and high scores are played live with xdotool;
# stages 1 to 6 by replaying a recording that build/coilrun-bench-tour makes. Prints a table.
# Usage: scripts/measure-load.sh [BUILD_DIR]   (takes about twelve minutes, two without the replay:
# MEASURE_REPLAY=0; SDL hints in the environment, such as SDL_FRAMEBUFFER_ACCELERATION=opengl, apply to the
# game and the bare loop alike)
set -u
build=${1:-build}
game=$(realpath "$build/coilrun")
bare=$(realpath "$build/coilrun-bare-loop")
tour=$(realpath "$build/coilrun-bench-tour")
seconds=${MEASURE_SECONDS:-10}
hz=$(getconf CLK_TCK)
for program in "$game" "$bare" "$tour" Xvfb xdotool import; do
  command -v "$program" >/dev/null || { echo "measure-load: $program is missing"; exit 1; }
done

work=$(mktemp -d /tmp/coilrun-measure.XXXXXX)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# A private X server of the size the end-to-end tests use; sets the named variable to its display.
start_x() {
  local fifo="$work/displayfd.$1"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  pids+=($!)
  local number
  read -r -t 10 number <"$fifo" || { echo "measure-load: Xvfb did not start"; exit 1; }
  printf -v "$2" ':%s' "$number"
}
start_x game game_display
start_x bare bare_display
export DISPLAY=$game_display

cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
peak_kb() { awk '/^VmHWM/ {print $2}' "/proc/$1/status"; }
percent() { awk -v t="$1" -v hz="$hz" -v s="$seconds" 'BEGIN {printf "%.2f", 100 * t / hz / s}'; }

# The colour of one pixel of the game's screen, as #RRGGBB.
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -1 | sed -E 's/.*(#[0-9A-F]{6}).*/\1/'
}

key() {
  xdotool keydown "$1"
  sleep 0.12
  xdotool keyup "$1"
}

rows=()
row() {
  rows+=("$(printf '| %-22s | %9s | %9s | %9s | %5s |' "$@")")
  echo "${rows[-1]}"
}

# The game's share of a core over the next stretch, alone.
measure_idle() {
  local before after
  before=$(cpu_ticks "$1")
  sleep "$seconds"
  after=$(cpu_ticks "$1")
  row "$2" "$(percent $((after - before)))" "" "" ""
}

# The game's share beside a bare loop at the same frame rate, over the same stretch.
measure_beside_bare() {
  local pid=$1 name=$2 rate=$3 bare_pid game0 game1 bare0 bare1
  DISPLAY=$bare_display "$bare" "$rate" >/dev/null 2>&1 &
  bare_pid=$!
  sleep 1
  game0=$(cpu_ticks "$pid")
  bare0=$(cpu_ticks "$bare_pid")
  sleep "$seconds"
  game1=$(cpu_ticks "$pid")
  bare1=$(cpu_ticks "$bare_pid")
  bare_peak=$(peak_kb "$bare_pid")
  kill "$bare_pid"
  wait "$bare_pid" 2>/dev/null
  local g=$((game1 - game0)) b=$((bare1 - bare0))
  row "$name" "$(percent $g)" "$(percent $b)" "$rate" \
    "$(awk -v g="$g" -v b="$b" 'BEGIN {if (b > 0) printf "%.2f", g / b; else print "-"}')"
}

wait_window() {
  local i
  for i in $(seq 1 1000); do
    xdotool search --onlyvisible --name "Coilrun $("$game" --version | cut -d' ' -f2)" >/dev/null 2>&1 && return 0
    sleep 0.01
  done
  echo "measure-load: no window within 10 s"
  cat "$work"/*.log 2>/dev/null
  exit 1
}

echo "making the data set and the recording..."
"$tour" "$work/data" >"$work/colours.txt" || { echo "measure-load: the tour failed"; exit 1; }

# 1. How soon the window shows: five starts.
starts=()
for run in 1 2 3 4 5; do
  mkdir -p "$work/start$run"
  cp "$work"/data/*.DAT "$work"/data/*.WAV "$work/start$run/"
  begin=$(date +%s%N)
  (cd "$work/start$run" && exec "$game" >/dev/null 2>&1) &
  pid=$!
  wait_window
  end=$(date +%s%N)
  starts+=("$(awk -v ns=$((end - begin)) 'BEGIN {printf "%.3f", ns / 1e9}')")
  kill "$pid"
  wait "$pid" 2>/dev/null
done
echo "window shown after (s): ${starts[*]}"

# 2. The screens, played live.
mkdir -p "$work/live"
cp "$work"/data/*.DAT "$work"/data/*.WAV "$work/live/"
(cd "$work/live" && exec "$game" >"$work/live.log" 2>&1) &
pid=$!
pids+=("$pid")
wait_window
sleep 1
echo "logo..."
measure_idle "$pid" "logo (waits for a key)"
key Return
sleep 2.5
echo "menu..."
measure_beside_bare "$pid" "menu" 19.6
key Return
sleep 2.5
echo "intro..."
measure_idle "$pid" "stage intro (key wait)"
key space
sleep 2.2
echo "stage 1, live..."
xdotool keydown Left
sleep 1
measure_beside_bare "$pid" "stage 1 (live)" 32.26
xdotool keyup Left
# Straight on, the snake meets the border within a few seconds and the death banner waits for a key.
sleep 6
echo "death banner..."
measure_idle "$pid" "death banner (key wait)"
key space
sleep 2.2
key space
sleep 2.5
key Escape
sleep 0.5
key Return
sleep 3
echo "high scores..."
measure_idle "$pid" "high scores (key wait)"
key space
sleep 1.5
key Return
sleep 2.5
live_peak=$(peak_kb "$pid")
key Up
sleep 0.3
key Return
sleep 2
kill "$pid" 2>/dev/null

# 3. Every stage, replayed.
replay_peak=0
if [ "${MEASURE_REPLAY:-1}" != 0 ]; then
  (cd "$work/data" && exec "$game" --replay tour.rec >"$work/replay.log" 2>&1) &
  pid=$!
  pids+=("$pid")
  wait_window
  stage_rate=(32.26 38.46 47.62 60 60 60)
  while read -r stage colour; do
    echo "stage $stage, replayed..."
    found=
    for i in $(seq 1 2000); do
      [ "$(pixel 6 384)" = "#$colour" ] && { found=1; break; }
      sleep 0.2
    done
    [ -n "$found" ] || { echo "measure-load: stage $stage never showed"; break; }
    sleep 1
    measure_beside_bare "$pid" "stage $stage (replay)" "${stage_rate[$((stage - 1))]}"
    [ "$(pixel 6 384)" = "#$colour" ] || rows[-1]="${rows[-1]} (left the stage while measured)"
    replay_peak=$(peak_kb "$pid")
  done <"$work/colours.txt"
  while kill -0 "$pid" 2>/dev/null; do
    replay_peak=$(peak_kb "$pid" 2>/dev/null || echo "$replay_peak")
    sleep 1
  done
fi

echo
framebuffer=${SDL_FRAMEBUFFER_ACCELERATION:-the window framebuffer, as the game asks by default}
echo "Under Xvfb 1024x768x24, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); framebuffer: $framebuffer"
echo "Window shown after (s): ${starts[*]}"
echo
printf '| %-22s | %9s | %9s | %9s | %5s |\n' "screen" "game %" "bare %" "frames/s" "ratio"
echo "|------------------------|-----------|-----------|-----------|-------|"
printf '%s\n' "${rows[@]}"
echo
echo "Peak resident memory (VmHWM): live session $((live_peak / 1024)) MB, replay $((replay_peak / 1024)) MB," \
  "bare loop $((bare_peak / 1024)) MB"
