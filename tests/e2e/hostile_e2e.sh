#!/usr/bin/env bash
# Hostile surroundings: no display at all; a replay's menu ended by a window close and by SIGTERM; in play,
# a screenshot into a closed pipe, then a hang-up; a game ended while another program holds a lock on
# SCORE.DAT, then SIGTERM. Each end comes promptly with its status; the times are printed.
source "$(dirname "$0")/e2e_lib.sh"
CLOSE_WINDOW="$(dirname "$E2E_GAME")/coilrun-e2e-close"

# Does $1 ("close" or a signal name) to the game and waits up to 10 s for it to end: prints how long that
# took and keeps the exit status in E2E_EXIT_STATUS and the milliseconds in E2E_END_MS.
end_game() {
  local start end window
  window=$(xdotool search --name "$(e2e_window_title)" | head -1)
  if [ "$1" = close ]; then
    "$CLOSE_WINDOW" "$window" || e2e_fail "the close request could not be sent"
    start=$(date +%s%N)
  else
    start=$(date +%s%N)
    kill -"$1" "$E2E_GAME_PID"
  fi
  e2e_reap "$E2E_GAME_PID" 10
  end=$(date +%s%N)
  E2E_GAME_PID=
  E2E_END_MS=$(((end - start) / 1000000))
  echo "$2: ended $E2E_END_MS ms after $1, status $E2E_EXIT_STATUS"
  [ "$E2E_EXIT_STATUS" -ne 137 ] || e2e_fail "$2: the game did not end within 10 s of $1"
}

# No display: one line and status 1 at once, rather than an unseen game waiting for ever.
mkdir -p "$E2E_WORK/nodisplay"
cp "$E2E_DATA"/*.DAT "$E2E_DATA"/*.WAV "$E2E_WORK/nodisplay"/ || e2e_fail "no default data in $E2E_DATA"
for display in unset "" garbage :4242; do
  said="$E2E_WORK/nodisplay.txt"
  start=$(date +%s%N)
  if [ "$display" = unset ]; then
    (cd "$E2E_WORK/nodisplay" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$E2E_GAME")
  else
    (cd "$E2E_WORK/nodisplay" && DISPLAY="$display" env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
      timeout 20 "$E2E_GAME")
  fi >/dev/null 2>"$said"
  status=$?
  end=$(date +%s%N)
  echo "DISPLAY $display: status $status in $(((end - start) / 1000000)) ms: $(cat "$said")"
  [ "$status" -eq 1 ] || e2e_fail "DISPLAY $display: exit status $status"
  grep -q '^coilrun: cannot open a window: ' "$said" || e2e_fail "DISPLAY $display: no line said so"
  [ "$(wc -l <"$said")" -eq 1 ] || e2e_fail "DISPLAY $display: more than one line"
done

e2e_start_x
# A recording that ends the logo with a press at once and then holds the menu for hours.
printf 'coilrun-replay 2\nk 1\nk 1 1c\nk 200000\nm 200000\nc 200000 0\n' >"$E2E_WORK/menu.rec"
for how in close TERM; do
  e2e_start_game --replay "$E2E_WORK/menu.rec"
  # The fade from the logo takes under two seconds; the menu is on the screen after it.
  sleep 4
  e2e_wait_drawn
  end_game "$how" "replay's menu"
  [ "$E2E_EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_EXIT_STATUS after $how in a replay's menu"
done

# In play with the standard output a pipe nobody reads: F12 saves its screenshot and the game plays on.
mkfifo "$E2E_WORK/stdout.fifo"
sleep 600 <"$E2E_WORK/stdout.fifo" &
reader=$!
E2E_STDOUT="$E2E_WORK/stdout.fifo" e2e_start_game
kill "$reader"
e2e_into_play
sleep 4
e2e_key F12
sleep 1
kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "a screenshot into a closed pipe ended the game"
ls "$E2E_WORK"/coilrun-*.png >/dev/null 2>&1 || e2e_fail "F12 saved no screenshot"
end_game HUP play
xdotool keyup Left
[ "$E2E_EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_EXIT_STATUS after a hang-up in play"
[ "$(e2e_score 0)" -gt 0 ] || e2e_fail "a game ended by a hang-up did not record its score"

# Any user who can read SCORE.DAT can hold a lock on it. A game quit from the pause dialog then waits for
# the lock in short tries, and SIGTERM during that wait ends the game within a second, with status 1 and
# one line; the file is neither read nor written.
e2e_start_game
# In a session of its own, so that flock and the sleep holding the lock end together.
setsid flock -s "$E2E_WORK/SCORE.DAT" sleep 40 &
holder=$!
e2e_into_play
sleep 3
e2e_key Escape
sleep 0.5
xdotool keyup Left
e2e_key Return
sleep 1.5
kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the game did not wait for the lock"
end_game TERM "lock held elsewhere"
kill -- -"$holder" 2>/dev/null
said=$(cat "$E2E_ARTIFACTS/stderr.txt")
[ "$E2E_EXIT_STATUS" -eq 1 ] || e2e_fail "exit status $E2E_EXIT_STATUS under a held lock"
[ "$said" = "coilrun: cannot save SCORE.DAT: locked by another program" ] || e2e_fail "under a held lock: $said"
[ "$E2E_END_MS" -lt 1000 ] || e2e_fail "the game took $E2E_END_MS ms to end under a held lock"
[ "$(e2e_score 0)" -eq 0 ] || e2e_fail "SCORE.DAT was written under another program's lock"
echo "PASS"
