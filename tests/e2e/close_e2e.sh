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
# In play, the snake circling safely until the signal comes.
e2e_into_play
sleep 4
kill -TERM "$E2E_GAME_PID"
e2e_wait_exit 30 || e2e_fail "exit status $? after SIGTERM in play"
xdotool keyup Left
first=$(e2e_score 0)
[ "$first" -gt 0 ] || e2e_fail "a game cut short did not record its score"
echo "PASS"
