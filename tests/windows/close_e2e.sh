#!/usr/bin/env bash
# Closing the window (Alt+F4, which Windows turns into WM_CLOSE) ends the game promptly, with status 0, from
# the logo, from play and from the pause dialog; a game cut short keeps its score. Handing the focus to
# another window in play opens the pause dialog, whose first choice goes on.
source "$(dirname "$0")/../e2e/e2e_lib.sh"
# Asked before any game starts: under Wine, asking the game its version waits for every Windows program to end.
title=$(e2e_window_title)
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
sleep 2
# The focus handed away and back: the game stands in its pause dialog, and Return goes on with it.
# Another Windows program comes to the front, as one started from the taskbar would, and is closed again.
"$(dirname "$0")/../../scripts/wine-run.sh" notepad >/dev/null 2>&1 &
E2E_OTHER_PID=$!
for i in $(seq 1 100); do
  xdotool search --name "Notepad" >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool keyup Left
sleep 0.5
kill "$E2E_OTHER_PID" 2>/dev/null
sleep 0.5
paused=$(e2e_screen_sum)
e2e_shot focus-lost
sleep 0.5
[ "$(e2e_screen_sum)" = "$paused" ] || e2e_fail "losing the focus in play did not pause the game"
# The player clicks the game to have it in front again, and goes on.
xdotool mousemove 20 700 click 1
sleep 0.5
[ "$(e2e_screen_sum)" = "$paused" ] || e2e_fail "a click on the paused game went on with it"
e2e_key Return
xdotool keydown Left
sleep 0.5
[ "$(e2e_screen_sum)" != "$paused" ] || e2e_fail "Return did not go on from the dialog a lost focus opened"
sleep 1
xdotool keyup Left
e2e_key Escape
sleep 0.5
e2e_shot pause
close_and_time "the pause dialog"
[ "$(e2e_score 0)" -gt 0 ] || e2e_fail "a game closed in the pause dialog did not record its score"
echo "PASS"
