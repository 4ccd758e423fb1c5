#!/usr/bin/env bash
# The settings in the real game, over two runs. The first starts on a hand-broken settings.ini and says so
# in one line, plays a menu sound on S, is muted with F8 (the captured audio is silent from then on),
# switched to a window with Alt+Enter and resized. The second starts in a window of that size, still muted,
# and a game is played with W, A, S and D for the arrows: A steers the snake round, D marks go on in the
# pause dialog. F8, F9 and F12 are told in the window's title for a few seconds.
source "$(dirname "$0")/e2e_lib.sh"
e2e_start_x
settings="$XDG_CONFIG_HOME/coilrun/settings.ini"
mkdir -p "$(dirname "$settings")"
printf '[sound]\nvolume = loud\n' >"$settings"
export E2E_AUDIODRIVER=disk

window() { xdotool search --name 'Coilrun 0.2' | head -1; }
size() { xdotool getwindowgeometry --shell "$(window)" | grep -E '^(WIDTH|HEIGHT)=' | cut -d= -f2 | paste -sd x; }
# How many bytes of the captured audio from byte $2 on are not silence (128).
loud_bytes() { tail -c +"$(($2 + 1))" "$1" | od -A n -t u1 -v | tr -s ' ' '\n' | grep -cvE '^(128)?$'; }
bytes() { stat -c %s "$1"; }
# Taps a key until the screen changes within 3 s of a tap (a tap may come before the window has the keyboard).
tap_until_changed() {
  local before attempt i
  before=$(e2e_screen_sum)
  for attempt in 1 2 3; do
    e2e_key "$1"
    for i in $(seq 1 30); do
      [ "$(e2e_screen_sum)" != "$before" ] && return 0
      sleep 0.1
    done
  done
  e2e_fail "$1 changed nothing on the screen"
}

# The first run: the broken line is told, and the game starts over the whole screen.
export SDL_DISKAUDIOFILE="$E2E_WORK/first.raw"
e2e_start_game
e2e_wait_drawn
grep -qF "settings.ini line 2: volume: \"loud\" is not a whole number from 0 to 100; using 100" \
  "$E2E_ARTIFACTS/stderr.txt" || e2e_fail "no line for the broken settings: $(cat "$E2E_ARTIFACTS/stderr.txt")"
[ "$(size)" = "1024x768" ] || e2e_fail "the game does not start over the whole screen: $(size)"
xdotool windowfocus --sync "$(window)"
sleep 0.5
tap_until_changed Return
sleep 2
e2e_wait_drawn
e2e_shot 1-menu
# S moves the selection with its sound (pressed again where a busy machine missed it), W moves it back.
heard=
for attempt in 1 2 3; do
  e2e_key s
  sleep 1
  [ "$(loud_bytes "$SDL_DISKAUDIOFILE" 0)" -gt 100 ] && heard=1 && break
done
[ -n "$heard" ] || e2e_fail "the menu's sound was not heard"
e2e_key w
sleep 0.5
e2e_key F8
sleep 0.5
[ "$(xdotool getwindowname "$(window)")" = "Coilrun 0.2 - sound off" ] || e2e_fail "F8 is not told in the title"
muted_from=$(bytes "$SDL_DISKAUDIOFILE")
e2e_key s
sleep 0.5
e2e_key w
sleep 1
[ "$(bytes "$SDL_DISKAUDIOFILE")" -gt $((muted_from + 5000)) ] || e2e_fail "the audio stopped being captured"
[ "$(loud_bytes "$SDL_DISKAUDIOFILE" "$muted_from")" -eq 0 ] || e2e_fail "the sound was heard after F8"
e2e_alt_enter
sleep 1
xdotool windowsize --sync "$(window)" 800 600 2>/dev/null || xdotool windowsize "$(window)" 800 600
sleep 1
[ "$(size)" = "800x600" ] || e2e_fail "the window was not resized: $(size)"
kill -TERM "$E2E_GAME_PID"
e2e_wait_exit 50 || e2e_fail "the first run ended with status $E2E_EXIT_STATUS"
cp "$settings" "$E2E_ARTIFACTS/settings-after-first-run.ini"
for line in "fullscreen = no" "width = 800" "height = 600" "mute = yes" "volume = 100"; do
  grep -qx "$line" "$settings" || e2e_fail "the settings do not hold \"$line\""
done

# The second run: a window of the same size, and silent.
export SDL_DISKAUDIOFILE="$E2E_WORK/second.raw"
e2e_start_game
e2e_wait_drawn
[ "$(size)" = "800x600" ] || e2e_fail "the second run's window is not 800x600: $(size)"
grep -q "settings" "$E2E_ARTIFACTS/stderr.txt" && e2e_fail "the rewritten settings were complained of"
xdotool windowfocus --sync "$(window)"
sleep 0.5
tap_until_changed Return
sleep 2.5
e2e_wait_drawn
menu=$(e2e_screen_sum)
# Play: Return on PLAY, A tapped to end the intro and then held to circle (Return again where a busy machine
# missed it: A does nothing in the menu). A game steered by nothing would end at the border within seconds
# and, the keys held ending its banners, be in the table long before the player quits it.
table_before=$(md5sum <"$E2E_WORK/SCORE.DAT")
in_play=
for attempt in 1 2 3; do
  e2e_key Return 0.4
  sleep 1.5
  e2e_key a
  xdotool keydown a
  sleep 3
  e2e_wait_drawn
  [ "$(e2e_screen_sum)" != "$menu" ] && in_play=1 && break
  xdotool keyup a
done
[ -n "$in_play" ] || e2e_fail "Return did not start a game"
e2e_shot 2-play
play1=$(e2e_screen_sum)
moved=
for i in $(seq 1 30); do
  [ "$(e2e_screen_sum)" != "$play1" ] && moved=1 && break
  sleep 0.1
done
[ -n "$moved" ] || e2e_fail "the snake does not move"
# Esc marks quit in the pause dialog; D marks go on, and Return goes on.
xdotool keyup a
e2e_key Escape
sleep 0.3
e2e_key d
e2e_key Return
xdotool keydown a
sleep 2.5
[ "$(md5sum <"$E2E_WORK/SCORE.DAT")" = "$table_before" ] || e2e_fail "the game ended before it was quit"
e2e_key Escape
xdotool keyup a
sleep 0.3
e2e_key Return
sleep 2.5
e2e_shot 3-high-scores
[ "$(e2e_score 0)" -gt 0 ] || e2e_fail "the game played with W, A, S and D is not in the table"
[ "$(loud_bytes "$SDL_DISKAUDIOFILE" 0)" -eq 0 ] || e2e_fail "the second run was not silent"
[ "$(bytes "$SDL_DISKAUDIOFILE")" -gt 20000 ] || e2e_fail "the second run's audio was not captured"
# F9 and F12 are told in the title for a few seconds, then the title is the game's own again.
e2e_key F9
sleep 0.3
[ "$(xdotool getwindowname "$(window)")" = "Coilrun 0.2 - volume 90%" ] || e2e_fail "F9 is not told in the title"
e2e_key F12
sleep 0.3
[[ "$(xdotool getwindowname "$(window)")" == "Coilrun 0.2 - saved coilrun-"*".png" ]] ||
  e2e_fail "the screenshot is not told in the title: $(xdotool getwindowname "$(window)")"
sleep 3.5
[ "$(xdotool getwindowname "$(window)")" = "Coilrun 0.2" ] || e2e_fail "the title kept its note"
kill -TERM "$E2E_GAME_PID"
e2e_wait_exit 50 || e2e_fail "the second run ended with status $E2E_EXIT_STATUS"
echo "PASS"
