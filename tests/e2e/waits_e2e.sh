#!/usr/bin/env bash
# Presses of a player's length never skip the screen they lead to: Return held 150 ms on PLAY leaves the
# stage's intro on the screen, and an arrow held as the snake dies leaves the death banner, until a key is
# pressed again. A switch to another window and back during the intro leaves the play after it running,
# without the pause dialog.
source "$(dirname "$0")/e2e_lib.sh"
e2e_start_x
e2e_start_game
game_window=$(xdotool search --name 'Coilrun 0.2' | head -1)
xdotool windowfocus --sync "$game_window"
e2e_wait_drawn
e2e_key Return 0.15
sleep 2.5
e2e_wait_drawn
e2e_shot 1-menu

# PLAY with a 150 ms Return: the intro shows and stays.
e2e_key Return 0.15
sleep 1.5
e2e_shot 2-intro
e2e_screen_is 1-menu && e2e_fail "Return did not choose PLAY"
sleep 1.5
e2e_screen_is 2-intro || e2e_fail "the intro did not stay after a 150 ms Return on PLAY"

# Away to another window and back while the intro waits, then a key: play runs, no pause dialog opens.
e2e_open_other_window
xdotool windowfocus --sync "$E2E_OTHER"
sleep 0.5
xdotool windowfocus --sync "$game_window"
sleep 0.3
kill "$E2E_OTHER_PID" 2>/dev/null
sleep 0.5
e2e_screen_is 2-intro || e2e_fail "the switch of windows ended the intro"
e2e_key space 0.15
# Left, held from the fade on, circles the short snake of the first stage safely.
xdotool keydown Left
sleep 3
e2e_shot 3-play
sleep 0.4
e2e_shot 3-play-later
moved=$(compare -metric AE "$E2E_ARTIFACTS/3-play.png" "$E2E_ARTIFACTS/3-play-later.png" null: 2>&1 | cut -d' ' -f1)
[ "${moved%%.*}" -gt 50 ] 2>/dev/null || e2e_fail "the play after the intro stands still (the pause dialog opened)"

# Down, which does nothing in play, held as the snake runs straight into the border: the death banner
# stays while it is held and after it is let go, until a new press.
xdotool keydown Down
xdotool keyup Left
sleep 6
e2e_shot 4-death-banner
sleep 1
e2e_screen_is 4-death-banner || e2e_fail "the death banner did not stay with an arrow held"
xdotool keyup Down
sleep 1
e2e_screen_is 4-death-banner || e2e_fail "the death banner did not stay once the arrow was let go"
e2e_key space 0.15
sleep 2.5
e2e_shot 5-next-intro
e2e_screen_is 4-death-banner && e2e_fail "a new press did not end the death banner"

kill -TERM "$E2E_GAME_PID"
e2e_wait_exit 50
status=$?
[ "$status" -eq 0 ] || e2e_fail "exit status $status"
echo "PASS"
