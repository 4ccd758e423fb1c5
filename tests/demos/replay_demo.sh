#!/usr/bin/env bash
# Replays a demo with the real game as fast as it goes, and compares the final state and the score table it
# reports with what the recording's game ended with; the replay must leave SCORE.DAT as it was.
set -u
game=$1
data=$2
demo=$3
expected="${demo%.rec}.expected"
work=$(mktemp -d /tmp/coilrun-demo.XXXXXX)
# The game's settings stay in the scratch folder.
export XDG_CONFIG_HOME="$work/config"
trap 'rm -rf "$work"' EXIT
cp "$data"/*.DAT "$data"/*.WAV "$work"/ || { echo "no default data in $data"; exit 1; }
# An empty score table of the size that the data tool writes.
table_size=$(stat -c %s "$data/SCORE.DAT") || exit 1
head -c "$table_size" /dev/zero >"$work/SCORE.DAT"
output=$(cd "$work" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$game" --replay "$demo" --timedemo 2>&1)
status=$?
echo "$output"
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status"; exit 1; }
actual=$(echo "$output" | tr -d '\r' | grep '^final:\|^table:')
cmp -s "$work/SCORE.DAT" <(head -c "$table_size" /dev/zero) || { echo "FAIL: the replay wrote SCORE.DAT"; exit 1; }
if [ "$actual" != "$(cat "$expected")" ]; then
  echo "FAIL: the replay ended otherwise than its recording"
  echo "expected:"; cat "$expected"
  echo "actual:"; echo "$actual"
  exit 1
fi
echo "PASS"
