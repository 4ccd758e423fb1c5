#!/usr/bin/env bash
# The Debian package, unpacked into a scratch root (run by `make test` after `make deb`, not by ctest):
# started from an empty folder, the packaged game finds the data the package put in the games layout,
# plays a game to the high scores and keeps the score in the player's data folder.
# Usage: unpacked_deb.sh PACKAGE.deb ARTIFACTS_DIR
deb=$1
mkdir -p "$2" && artifacts=$(cd "$2" && pwd)
source "$(dirname "$0")/e2e_lib.sh" "" "" "$artifacts"
root="$E2E_WORK/root"
dpkg-deb -x "$deb" "$root" || e2e_fail "cannot unpack $deb"
E2E_GAME="$root/usr/games/coilrun"
data="$root/usr/share/games/coilrun"
[ -x "$E2E_GAME" ] && [ -x "$root/usr/games/coilrun-data" ] || e2e_fail "the programs are not in /usr/games"
[ -e "$data/LOGO.DAT" ] || e2e_fail "no default data in /usr/share/games/coilrun"
[ -e "$data/SCORE.DAT" ] && e2e_fail "a score table was packaged with the data"
[ -z "$(find "$root" -name '*test*' -o -name '*bench*')" ] || e2e_fail "tests or benchmarks were packaged"

e2e_start_x
anywhere="$E2E_WORK/anywhere"
folder="$E2E_WORK/xdg/coilrun"
mkdir -p "$anywhere"
(cd "$anywhere" && unset COILRUN_DATA_DIR && XDG_DATA_HOME="$E2E_WORK/xdg" SDL_AUDIODRIVER=dummy \
  exec "$E2E_GAME" >"$E2E_ARTIFACTS/stdout.txt" 2>"$E2E_ARTIFACTS/stderr.txt") &
E2E_GAME_PID=$!
title=$(e2e_window_title)
for i in $(seq 1 100); do
  xdotool search --name "$title" >/dev/null 2>&1 && break
  e2e_ended_within 1 && e2e_fail "the game ended at once: $(cat "$E2E_ARTIFACTS/stderr.txt")"
done
# Into play as in a player's round; Esc then opens the pause dialog with quit marked and Return quits to
# the high scores.
e2e_into_play shots
sleep 4.5
e2e_shot 3-play
e2e_key Escape
sleep 0.5
xdotool keyup Left
e2e_key Return
sleep 2.5
e2e_shot 4-high-scores
kill -TERM "$E2E_GAME_PID"
e2e_wait_exit 50
status=$?
[ "$status" -eq 0 ] || e2e_fail "exit status $status"
[ "$(ls -A "$folder")" = SCORE.DAT ] || e2e_fail "$folder holds more than SCORE.DAT: $(ls -A "$folder")"
first=$(od -A n -t d4 -j 16 -N 4 "$folder/SCORE.DAT" 2>/dev/null | tr -d ' ')
echo "first place in $folder/SCORE.DAT: $first"
[ "${first:-0}" -gt 0 ] || e2e_fail "the game's score was not kept in $folder"
[ -z "$(ls -A "$anywhere")" ] || e2e_fail "the game wrote into the folder it was started from"
echo "PASS"
