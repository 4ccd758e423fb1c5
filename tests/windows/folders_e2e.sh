#!/usr/bin/env bash
# The game unzipped into a folder whose path is not ASCII, started from elsewhere, plays its data from its
# own folder and keeps SCORE.DAT there; where that SCORE.DAT cannot be written, it keeps the player's files
# in %APPDATA%\Coilrun and reads its data from its own folder. Each run replays a demo, which must end as
# recorded.
# Arguments: the unzipped folder, a demo.
set -u
unzipped=$1
demo=$2
expected="${demo%.rec}.expected"
work=$(mktemp -d /tmp/coilrun-folders.XXXXXX)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
game="$work/Zoë Андрей/Coilrun"
mkdir -p "$game" "$work/elsewhere"
cp -r "$unzipped"/. "$game/"
run() {
  (cd "$work/elsewhere" && "$(dirname "$0")/../../scripts/wine-run.sh" "$game/coilrun.exe" --replay "$demo" \
    --timedemo 2>&1)
}
output=$(run) || fail "exit status $? from the folder beside the program: $output"
[ "$(echo "$output" | tr -d '\r' | grep '^final:\|^table:')" = "$(cat "$expected")" ] ||
  fail "the replay from a folder named in UTF-8 ended otherwise: $output"
[ -z "$(ls "$work/elsewhere")" ] || fail "the game wrote into the working folder"
echo "ok: played from $game"
# A folder in SCORE.DAT's place cannot be opened for writing, even by root, whom Wine lets write a file
# without write permission.
rm "$game/SCORE.DAT"
mkdir "$game/SCORE.DAT"
appdata="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Coilrun"
rm -rf "$appdata"
output=$(run) || fail "exit status $? with a read-only SCORE.DAT: $output"
[ "$(echo "$output" | tr -d '\r' | grep '^final:\|^table:')" = "$(cat "$expected")" ] ||
  fail "the replay from %APPDATA% ended otherwise: $output"
[ -f "$appdata/SCORE.DAT" ] || fail "no SCORE.DAT made in $appdata"
[ ! -e "$appdata/LOGO.DAT" ] || fail "data copied into $appdata"
echo "ok: played from $appdata"
echo "PASS"
