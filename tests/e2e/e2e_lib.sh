# Shared steps of the end-to-end tests: a private X server, the game in a scratch folder, keys, screenshots.
set -u

E2E_GAME=$1
E2E_DATA=$2
E2E_ARTIFACTS=$3
mkdir -p "$E2E_ARTIFACTS"
E2E_WORK=$(mktemp -d /tmp/coilrun-e2e.XXXXXX)
# The game's settings live in the scratch folder, never in the home folder of whoever runs the tests.
export XDG_CONFIG_HOME="$E2E_WORK/config"
E2E_XVFB_PID=
E2E_GAME_PID=

# The game's window title, "Coilrun" and the version the game says it is.
e2e_window_title() {
  echo "Coilrun $("$E2E_GAME" --version | tr -d '\r' | cut -d' ' -f2)"
}

e2e_fail() {
  echo "FAIL: $*"
  e2e_shot failure
  exit 1
}

e2e_cleanup() {
  [ -n "$E2E_GAME_PID" ] && kill -9 "$E2E_GAME_PID" 2>/dev/null
  [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null
  rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT

# A private X server on a free display, 1024x768 in true colour, which stays up between two games (without
# -noreset it starts over when its last client leaves, and a game started at that moment finds no display).
e2e_start_x() {
  local fifo="$E2E_WORK/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  E2E_XVFB_PID=$!
  local number
  read -r -t 10 number <"$fifo" || e2e_fail "Xvfb did not start"
  export DISPLAY=":$number"
}

# The game in a scratch folder with the default data and an empty score file; its standard output goes to
# E2E_STDOUT where that is set, and its sound to SDL's E2E_AUDIODRIVER where that is set (none by default).
e2e_start_game() {
  cp "$E2E_DATA"/*.DAT "$E2E_DATA"/*.WAV "$E2E_WORK"/ || e2e_fail "no default data in $E2E_DATA"
  # An empty score table of the size that the data tool writes.
  head -c "$(stat -c %s "$E2E_DATA/SCORE.DAT")" /dev/zero >"$E2E_WORK/SCORE.DAT"
  local title
  title=$(e2e_window_title)
  (cd "$E2E_WORK" && SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=${E2E_AUDIODRIVER:-dummy} exec "$E2E_GAME" "$@" \
    >"${E2E_STDOUT:-$E2E_ARTIFACTS/stdout.txt}" 2>"$E2E_ARTIFACTS/stderr.txt") &
  E2E_GAME_PID=$!
  local i
  for i in $(seq 1 300); do
    xdotool search --name "$title" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  e2e_fail "no window within 30 s"
}

# A real key press: down, a quarter of a second, up (a shorter tap can fall between two reads of the
# keyboard on a busy machine).
e2e_key() {
  xdotool keydown "$1"
  sleep "${2:-0.25}"
  xdotool keyup "$1"
}

e2e_shot() {
  import -window root "$E2E_ARTIFACTS/$1.png" 2>/dev/null
}

# A checksum of the screen's pixels: equal for two screenshots of the same picture.
e2e_screen_sum() {
  import -window root rgb:- 2>/dev/null | md5sum
}

# The colour at a point of the screen, as ImageMagick names it.
e2e_pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -1 | sed -E 's/.*(#[0-9A-F]{6}).*/\1/'
}

# Waits until the screen shows a picture (not the black of a fade or of a window not yet drawn).
e2e_wait_drawn() {
  local i mean
  for i in $(seq 1 100); do
    mean=$(import -window root -resize 64x48 png:- 2>/dev/null | convert png:- -format '%[fx:int(mean*1000)]' info: 2>/dev/null)
    [ -n "$mean" ] && [ "$mean" -gt 20 ] && return 0
    sleep 0.1
  done
  e2e_fail "the screen stayed black"
}

# Waits up to $1 tenths of a second for the game to end: true when it has, with its exit status kept
# in E2E_EXIT_STATUS.
e2e_ended_within() {
  local i
  for i in $(seq 1 "${1:-50}"); do
    if ! kill -0 "$E2E_GAME_PID" 2>/dev/null; then
      wait "$E2E_GAME_PID"
      E2E_EXIT_STATUS=$?
      E2E_GAME_PID=
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Waits up to $2 seconds for process $1 to end, killing it then: its exit status (137 when it had to be
# killed) in E2E_EXIT_STATUS. It polls rather than keep a watchdog in the background: a subshell killed
# before it has dropped this script's EXIT trap would run the clean-up and take the scratch folder with it.
e2e_reap() {
  local i
  for i in $(seq 1 $(($2 * 50))); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.02
  done
  kill -0 "$1" 2>/dev/null && kill -9 "$1" 2>/dev/null
  wait "$1"
  E2E_EXIT_STATUS=$?
}

# Waits for the game to end; its exit status.
e2e_wait_exit() {
  e2e_ended_within "${1:-50}" || e2e_fail "the game did not end in time"
  return "$E2E_EXIT_STATUS"
}

# The score in a place (0 is the best) of the scratch folder's SCORE.DAT.
e2e_score() {
  od -A n -t d4 -j $((16 + 4 * $1)) -N 4 "$E2E_WORK/SCORE.DAT" | tr -d ' '
}

# True when the screen shows what the screenshot `reference` showed (all but a few pixels alike).
e2e_screen_is() {
  local differing
  differing=$(import -window root png:- 2>/dev/null | compare -metric AE - "$E2E_ARTIFACTS/$1.png" null: 2>&1)
  [ "${differing%%.*}" -lt 2000 ] 2>/dev/null
}

# From the logo into play: Return ends the logo's wait, Return in the menu chooses play, and Left, held from
# then on, ends the intro and circles the short snake of the first stage safely. With `shots`, the logo and
# the menu are kept as 1-logo.png and 2-menu.png.
e2e_into_play() {
  e2e_wait_drawn
  [ "${1:-}" = shots ] && e2e_shot 1-logo
  e2e_key Return
  sleep 2
  e2e_wait_drawn
  [ "${1:-}" = shots ] && e2e_shot 2-menu
  e2e_key Return
  xdotool keydown Left
}

# Alt+Enter as a player presses it: Alt down, Return tapped, Alt up.
e2e_alt_enter() {
  xdotool keydown alt
  xdotool keydown Return
  sleep 0.15
  xdotool keyup Return
  xdotool keyup alt
}

# Another program's window to give the focus to: its process in E2E_OTHER_PID, its window in E2E_OTHER.
e2e_open_other_window() {
  display -size 120x90 -title other xc:gray &
  E2E_OTHER_PID=$!
  E2E_OTHER=
  local i
  for i in $(seq 1 50); do
    E2E_OTHER=$(xdotool search --name '^other$' 2>/dev/null | head -1)
    [ -n "$E2E_OTHER" ] && return 0
    sleep 0.1
  done
  e2e_fail "no other window to give the focus to"
}
