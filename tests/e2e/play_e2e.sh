#!/usr/bin/env bash
# A player's round: logo, menu, a game steered for a few seconds, quit from the pause dialog, the high
# scores, back through the logo to the menu, Exit. The score must be in first place afterwards.
source "$(dirname "$0")/e2e_lib.sh"
e2e_start_x
e2e_start_game
# Left ends the intro.
e2e_into_play shots
sleep 0.8
e2e_shot 3-intro-or-fade
sleep 3.5
e2e_shot 4-play
e2e_key Escape
sleep 0.5
e2e_shot 5-pause
xdotool keyup Left
e2e_key Return
sleep 2.5
e2e_shot 6-high-scores
# Back to the menu as it first showed: space ends the high scores, the logo, a stage's intro and its
# banners, and does nothing in the menu or while the snake crawls (it soon dies at the border without a
# steer), so however the waits end, enough presses bring the menu on its first entry.
back_to_menu() {
  local attempt
  for attempt in $(seq 1 "$1"); do
    e2e_screen_is 2-menu && return 0
    e2e_key space
    sleep 2.5
  done
  return 1
}
back_to_menu 5 || e2e_fail "the menu did not come back"
e2e_shot 7-menu-again
# Up and Return in one frame: the selection moves to Exit and Return confirms it. The menu reads the keys
# as they are held, so if a frame falls between the two presses, Return alone starts a game, or Up alone
# and then both choose the high scores; the round goes back to the menu and tries again.
choose_exit() {
  xdotool keydown --delay 0 Up Return
  sleep 0.3
  xdotool keyup --delay 0 Up Return
}
choose_exit
missed=0
until e2e_ended_within 50; do
  missed=$((missed + 1))
  [ "$missed" -le 3 ] || e2e_fail "the game did not end in time"
  echo "attempt $missed: the keys came apart; back to the menu"
  e2e_shot "8-missed-exit-$missed"
  back_to_menu 20 || e2e_fail "the menu did not come back after a missed Exit"
  choose_exit
done
status=$E2E_EXIT_STATUS
[ "$status" -eq 0 ] || e2e_fail "exit status $status"
first=$(e2e_score 0)
second=$(e2e_score 1)
echo "first place: $first, second: $second"
[ "$first" -gt 0 ] || e2e_fail "the game's score is not in first place ($first)"
# A game started by a missed Exit may have scored too.
[ "$missed" -gt 0 ] || [ "$second" -eq 0 ] || e2e_fail "second place changed ($second)"
echo "PASS"
