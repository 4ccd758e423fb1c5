#!/usr/bin/env bash
# A player's round: logo, menu, a game steered for a few seconds, quit from the pause dialog, the high
# scores, back through the logo to the menu, Exit. The score must be in first place afterwards.
source "$(dirname "$0")/e2e_lib.sh"
e2e_start_x
e2e_start_game
e2e_wait_drawn
e2e_shot 1-logo
e2e_key Return
sleep 2
e2e_wait_drawn
e2e_shot 2-menu
e2e_key Return
# Left from now on ends the intro (if the Return still held has not already) and then circles the
# short snake of the first stage safely.
xdotool keydown Left
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
# Back to the menu as it first showed: space ends the high scores and the logo, and does nothing in the
# menu, so however the waits end, a few presses bring the menu on its first entry.
for attempt in 1 2 3 4 5; do
  e2e_screen_is 2-menu && break
  e2e_key space
  sleep 2.5
done
e2e_screen_is 2-menu || e2e_fail "the menu did not come back"
e2e_shot 7-menu-again
# Up and Return in one frame: the selection moves to Exit and Return confirms it.
xdotool keydown Up keydown Return
sleep 0.3
xdotool keyup Up keyup Return
e2e_wait_exit 50
status=$?
[ "$status" -eq 0 ] || e2e_fail "exit status $status"
first=$(e2e_score 0)
second=$(e2e_score 1)
echo "first place: $first, second: $second"
[ "$first" -gt 0 ] || e2e_fail "the game's score is not in first place ($first)"
[ "$second" -eq 0 ] || e2e_fail "second place changed ($second)"
echo "PASS"
