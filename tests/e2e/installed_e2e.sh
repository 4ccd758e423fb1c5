#!/usr/bin/env bash
# The installed game: `cmake --install` into a scratch prefix lays out the game, its menu entry, icon and
# metainfo; started from an empty folder, the game finds the data installed beside it under that prefix,
# plays it and keeps its score table in the player's data folder, leaving the folder it was started from
# untouched. The player's folder holds the score table alone.
source "$(dirname "$0")/e2e_lib.sh"
build=$(dirname "$E2E_GAME")
prefix="$E2E_WORK/prefix"
cmake --install "$build" --prefix "$prefix" >"$E2E_ARTIFACTS/install.txt" 2>&1 || e2e_fail "cmake --install failed"
for file in bin/coilrun share/applications/org.coilrun.Coilrun.desktop \
  share/icons/hicolor/scalable/apps/coilrun.svg share/metainfo/org.coilrun.coilrun.metainfo.xml; do
  [ -e "$prefix/$file" ] || e2e_fail "not installed: $file"
done
data="$prefix/share/coilrun/data"
if [ -e "$data/LOGO.DAT" ]; then
  [ -e "$data/SCORE.DAT" ] && e2e_fail "a score table was installed with the data"
else
  # Until the data maker is built, the data is put where an install would put it.
  mkdir -p "$data"
  cp "$E2E_DATA"/*.DAT "$E2E_DATA"/*.WAV "$data/" || e2e_fail "no default data in $E2E_DATA"
  rm -f "$data/SCORE.DAT"
fi

e2e_start_x
mkdir -p "$E2E_WORK/anywhere" "$E2E_WORK/xdg"
(cd "$E2E_WORK/anywhere" && unset COILRUN_DATA_DIR && XDG_DATA_HOME="$E2E_WORK/xdg" SDL_AUDIODRIVER=dummy \
  exec "$prefix/bin/coilrun" >"$E2E_ARTIFACTS/stdout.txt" 2>"$E2E_ARTIFACTS/stderr.txt") &
E2E_GAME_PID=$!
shown=
title=$(e2e_window_title)
for i in $(seq 1 100); do
  xdotool search --name "$title" >/dev/null 2>&1 && { shown=1; break; }
  sleep 0.1
done
[ -n "$shown" ] || e2e_fail "no window within 10 s"
sleep 1
e2e_shot 1-logo
kill -TERM "$E2E_GAME_PID"
e2e_wait_exit 50
status=$?
[ "$status" -eq 0 ] || e2e_fail "exit status $status"
folder="$E2E_WORK/xdg/coilrun"
[ "$(stat -c %s "$folder/SCORE.DAT" 2>/dev/null)" = "$(stat -c %s "$E2E_DATA/SCORE.DAT")" ] || e2e_fail "no empty score table in $folder"
[ "$(ls -A "$folder")" = SCORE.DAT ] || e2e_fail "$folder holds more than SCORE.DAT: $(ls -A "$folder")"
[ -z "$(ls -A "$E2E_WORK/anywhere")" ] || e2e_fail "the game wrote into the folder it was started from"

# Four first starts at once into a fresh player's folder: each sets it up, and none fails for finding the
# others' work in it.
pids=()
for i in 1 2 3 4; do
  (cd "$E2E_WORK/anywhere" && unset COILRUN_DATA_DIR && XDG_DATA_HOME="$E2E_WORK/xdg-together" \
    SDL_AUDIODRIVER=dummy exec "$prefix/bin/coilrun" >/dev/null 2>"$E2E_ARTIFACTS/together-$i.txt") &
  pids+=($!)
done
# Each start has set up the folder once its window is up; a busy machine may take a while to get there.
for i in $(seq 1 300); do
  [ "$(xdotool search --name "$(e2e_window_title)" 2>/dev/null | wc -l)" -ge 4 ] && break
  sleep 0.1
done
sleep 1
for i in 0 1 2 3; do
  kill -0 "${pids[$i]}" 2>/dev/null || e2e_fail "start $((i + 1)) of four ended: $(cat "$E2E_ARTIFACTS/together-$((i + 1)).txt")"
done
kill -TERM "${pids[@]}"
for i in 0 1 2 3; do
  e2e_reap "${pids[$i]}" 10
  [ "$E2E_EXIT_STATUS" -eq 0 ] || e2e_fail "start $((i + 1)) of four: exit status $E2E_EXIT_STATUS"
done
[ "$(ls -A "$E2E_WORK/xdg-together/coilrun")" = SCORE.DAT ] || e2e_fail "four starts left more than SCORE.DAT"
echo "PASS"
