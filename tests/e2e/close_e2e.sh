#!/usr/bin/env bash
# SIGINT ends the game from a screen that waits for a key, and SIGTERM does so from play, both at once (3 s
# allowed, for a sanitizer build on a busy machine) and with status 0.
source "$(dirname "$0")/e2e_lib.sh"
e2e_start_x
e2e_start_game
e2e_wait_drawn
kill -INT "$E2E_GAME_PID"
e2e_wait_exit 30 || e2e_fail "exit status $? after SIGINT on the logo"
e2e_start_game
e2e_wait_drawn
e2e_key Return
sleep 2
e2e_wait_drawn
e2e_key Return
# Left ends the intro and then circles the snake safely until the signal comes.
xdotool keydown Left
sleep 4
kill -TERM "$E2E_GAME_PID"
e2e_wait_exit 30 || e2e_fail "exit status $? after SIGTERM in play"
xdotool keyup Left
first=$(e2e_score 0)
[ "$first" -gt 0 ] || e2e_fail "a game cut short did not record its score"
echo "PASS"
