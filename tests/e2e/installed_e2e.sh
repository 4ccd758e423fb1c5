#!/usr/bin/env bash
# The installed game: `cmake --install` into a scratch prefix lays out the game, its menu entry, icon and
# metainfo; started from an empty folder, the game finds the data installed beside it under that prefix,
# plays it and keeps its score table in the player's data folder, leaving the folder it was started from
# untouched.
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
[ "$(readlink "$folder/LOGO.DAT")" = "$data/LOGO.DAT" ] || e2e_fail "the installed data is not linked into $folder"
[ -z "$(ls -A "$E2E_WORK/anywhere")" ] || e2e_fail "the game wrote into the folder it was started from"
echo "PASS"
