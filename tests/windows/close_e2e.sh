#!/usr/bin/env bash
# Closing the window (Alt+F4, which Windows turns into WM_CLOSE) ends the game promptly, with status 0, from
# the logo, from play and from the pause dialog; a game cut short keeps its score.
source "$(dirname "$0")/../e2e/e2e_lib.sh"
e2e_start_x
# Closes the window and waits up to 5 s for the game to end; prints how long it took.
close_and_time() {
  local start=$(date +%s%N)
  xdotool key alt+F4
  e2e_wait_exit 50 || e2e_fail "exit status $? after closing from $1"
  echo "closed from $1 in $(( ($(date +%s%N) - start) / 1000000 )) ms"
}
e2e_start_game
e2e_wait_drawn
close_and_time "the logo"
e2e_start_game
e2e_into_play
sleep 4
close_and_time "play"
xdotool keyup Left
[ "$(e2e_score 0)" -gt 0 ] || e2e_fail "a game closed in play did not record its score"
e2e_start_game
e2e_into_play
sleep 4
xdotool keyup Left
e2e_key Escape
sleep 0.5
e2e_shot pause
close_and_time "the pause dialog"
[ "$(e2e_score 0)" -gt 0 ] || e2e_fail "a game closed in the pause dialog did not record its score"
echo "PASS"
