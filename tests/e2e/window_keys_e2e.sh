#!/usr/bin/env bash
# The window's own keys in the real game: F11 and Alt+Enter switch between full screen and a window without
# ending the logo's or an intro's wait, confirming a menu entry or closing the pause dialog, while an Alt
# tapped alone is a key; F12 saves the frame on the screen as a PNG file; the frame is shown with even
# pixels; losing the focus in play opens the pause dialog. Screenshots stand in for the screen: they are
# the frame itself, whatever the window's size.
source "$(dirname "$0")/e2e_lib.sh"
e2e_start_x
e2e_start_game
sleep 1
game_window=$(xdotool search --name "$(e2e_window_title)" | head -1)
xdotool windowfocus --sync "$game_window"

size() { xdotool getwindowgeometry --shell "$game_window" | grep -E '^(WIDTH|HEIGHT)=' | cut -d= -f2 | paste -sd x; }
# Saves a screenshot with F12 and prints its path.
shot() {
  local before after
  before=$(ls "$E2E_WORK"/coilrun-*.png 2>/dev/null | wc -l)
  e2e_key F12
  local i
  for i in $(seq 1 30); do
    after=$(ls "$E2E_WORK"/coilrun-*.png 2>/dev/null | wc -l)
    [ "$after" -gt "$before" ] && break
    sleep 0.1
  done
  [ "$after" -eq $((before + 1)) ] || e2e_fail "F12 saved $((after - before)) files"
  ls -t "$E2E_WORK"/coilrun-*.png | head -1
}

# The frame on the screen, cut from the window's place on a screen of the window's size.
window_frame() {
  local geometry
  geometry=$(xdotool getwindowgeometry --shell "$game_window" | grep -E '^(X|Y|WIDTH|HEIGHT)=' | cut -d= -f2 | paste -sd ' ')
  set -- $geometry
  import -window root -crop "${3}x${4}+${1}+${2}" +repage "$E2E_WORK/window.png" 2>/dev/null
  echo "$E2E_WORK/window.png"
}
# True when two pictures differ in fewer than $3 pixels by more than 3%.
alike() { [ "$(compare -fuzz 3% -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)" -lt "${3:-1}" ] 2>/dev/null; }

[ "$(size)" = "1024x768" ] || e2e_fail "the game does not start over the whole screen: $(size)"
logo1=$(shot)
[ "$(identify -format '%wx%h' "$logo1")" = "640x480" ] || e2e_fail "the screenshot is not the 640x480 frame"
cp "$logo1" "$E2E_ARTIFACTS/logo.png"
# Even pixels: at 1.6 times, every frame pixel covers 1.6 columns and rows, blended at its edges, as a
# linear scale of the frame has it; nearest sampling alone would make them one or two pixels wide.
e2e_shot screen-1024x768
convert "$logo1" -filter Triangle -resize '1024x768!' "$E2E_WORK/even.png"
alike "$E2E_ARTIFACTS/screen-1024x768.png" "$E2E_WORK/even.png" 100 || e2e_fail "the pixels on the screen are not even"

# Alt+Enter on the logo switches to a window and does not end the wait; the window shows the frame at its
# own size, pixel for pixel.
e2e_alt_enter
sleep 1
[ "$(size)" = "640x480" ] || e2e_fail "Alt+Enter did not make a 640x480 window: $(size)"
alike "$(window_frame)" "$logo1" || e2e_fail "the window does not show the logo as it is"
cp "$E2E_WORK/window.png" "$E2E_ARTIFACTS/windowed-logo.png"
cmp -s "$logo1" "$(shot)" || e2e_fail "Alt+Enter or F12 ended the logo's wait"
e2e_key F11
sleep 1
[ "$(size)" = "1024x768" ] || e2e_fail "F11 did not go back to full screen: $(size)"
cmp -s "$logo1" "$(shot)" || e2e_fail "F11 ended the logo's wait"

# An Alt tapped alone is a key: it ends the logo's wait.
e2e_key alt
sleep 2.2
menu1=$(shot)
cmp -s "$logo1" "$menu1" && e2e_fail "Alt alone did not end the logo's wait"
e2e_alt_enter
sleep 1
[ "$(size)" = "640x480" ] || e2e_fail "Alt+Enter did not switch in the menu: $(size)"
sleep 0.5
menu2=$(shot)
cmp -s "$menu1" "$menu2" || e2e_fail "Alt+Enter confirmed the menu entry"
cp "$menu2" "$E2E_ARTIFACTS/menu.png"
e2e_alt_enter
sleep 1

# A stage's intro waits for a key through Alt+Enter; the Return that chose play does not end it.
e2e_key Return
sleep 1.5
intro1=$(shot)
cmp -s "$intro1" "$menu1" && e2e_fail "Return did not choose play"
sleep 0.4
cmp -s "$intro1" "$(shot)" || e2e_fail "the intro did not stay"
e2e_alt_enter
sleep 1
[ "$(size)" = "640x480" ] || e2e_fail "Alt+Enter did not switch on the intro: $(size)"
cmp -s "$intro1" "$(shot)" || e2e_fail "Alt+Enter ended the intro's wait"
e2e_alt_enter
sleep 1
[ "$(size)" = "1024x768" ] || e2e_fail "Alt+Enter did not switch back on the intro: $(size)"

# Play, and hand the focus to another window.
e2e_key space
# Hold Left: the short snake of the first stage circles without dying.
xdotool keydown Left
sleep 2.5
play1=$(shot)
sleep 0.3
play2=$(shot)
cmp -s "$play1" "$play2" && e2e_fail "the snake does not move"
e2e_open_other_window
xdotool keyup Left
xdotool windowfocus --sync "$E2E_OTHER"
sleep 0.5
xdotool windowfocus --sync "$game_window"
sleep 0.3
paused1=$(shot)
sleep 0.5
paused2=$(shot)
kill "$E2E_OTHER_PID" 2>/dev/null
cmp -s "$paused1" "$paused2" || e2e_fail "losing the focus did not pause the game"
cp "$paused2" "$E2E_ARTIFACTS/paused.png"
# In play, Alt+Enter reaches no dialog: the pause dialog stays open with its choice.
e2e_alt_enter
sleep 1
[ "$(size)" = "640x480" ] || e2e_fail "Alt+Enter did not switch in the pause dialog: $(size)"
cmp -s "$paused2" "$(shot)" || e2e_fail "Alt+Enter closed the pause dialog"
# The dialog a lost focus opened marks go on: Return alone lets the snake move again, circling on Left, and
# 2.5 s later the game is still under way (a quit would have faded out and recorded the score by then).
# Then Esc marks quit: Return ends the game and records it; and the window is closed.
table_before=$(md5sum <"$E2E_WORK/SCORE.DAT")
e2e_key Return
xdotool keydown Left
sleep 0.5
going1=$(shot)
sleep 0.3
going2=$(shot)
cmp -s "$going1" "$going2" && e2e_fail "the game did not go on after the dialog"
sleep 1.7
[ "$(md5sum <"$E2E_WORK/SCORE.DAT")" = "$table_before" ] || e2e_fail "Return quit from the dialog a lost focus opened"
e2e_key Escape
xdotool keyup Left
sleep 0.5
e2e_key Return
sleep 2.5
e2e_shot high-scores
[ "$(md5sum <"$E2E_WORK/SCORE.DAT")" != "$table_before" ] || e2e_fail "Esc and Return did not end the game"
# A request to close ends the game from any screen.
kill -TERM "$E2E_GAME_PID"
e2e_wait_exit 50
status=$?
[ "$status" -eq 0 ] || e2e_fail "exit status $status"
grep -q "screenshot saved as coilrun-" "$E2E_ARTIFACTS/stdout.txt" || e2e_fail "no word of the screenshots"
echo "PASS"
