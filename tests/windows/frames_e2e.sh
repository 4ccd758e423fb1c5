#!/usr/bin/env bash
# The Windows game's logo and menu frames, saved with F12, match the in-memory layer's frames of the same
# screens pixel for pixel (its account of a demo's replay, made by the Windows build of the reference tool).
# Arguments: the game, the data, the artifacts folder, the reference tool, a demo.
source "$(dirname "$0")/../e2e/e2e_lib.sh"
REFERENCE_TOOL=$4
DEMO=$5
"$REFERENCE_TOOL" "$E2E_DATA" "$E2E_WORK/reference" "$DEMO" >/dev/null || e2e_fail "no reference frames"
reference="$E2E_WORK/reference/$(basename "${DEMO%.rec}").frames"
e2e_start_x
e2e_start_game
# The newest screenshot in the game's folder, once F12 has written it.
shot() {
  local before i
  before=$(ls "$E2E_WORK"/coilrun-*.png 2>/dev/null | wc -l)
  e2e_key F12
  for i in $(seq 1 50); do
    [ "$(ls "$E2E_WORK"/coilrun-*.png 2>/dev/null | wc -l)" -gt "$before" ] && break
    sleep 0.1
  done
  ls -t "$E2E_WORK"/coilrun-*.png 2>/dev/null | head -1
}
# The in-memory layer's checksum of a screenshot's 5-6-5 pixels (the top bits of each 8-bit channel).
checksum() {
  convert "$1" -depth 8 rgb:- | python3 -c '
import sys
data = sys.stdin.buffer.read()
pixels = [((data[i] >> 3) << 11) | ((data[i + 1] >> 2) << 5) | (data[i + 2] >> 3) for i in range(0, len(data), 3)]
h, mask = 1469598103934665603, (1 << 64) - 1
whole = len(pixels) - len(pixels) % 4
for i in range(0, whole, 4):
    word = pixels[i] | (pixels[i + 1] << 16) | (pixels[i + 2] << 32) | (pixels[i + 3] << 48)
    h = ((h ^ word) * 1099511628211) & mask
for p in pixels[whole:]:
    h = ((h ^ p) * 1099511628211) & mask
print(h)'
}
e2e_wait_drawn
logo=$(shot)
[ -n "$logo" ] || e2e_fail "F12 saved no screenshot of the logo"
cp "$logo" "$E2E_ARTIFACTS/logo-f12.png"
[ "$(checksum "$logo")" = "$(head -1 "$reference" | cut -d' ' -f1)" ] ||
  e2e_fail "the logo differs from the in-memory layer's"
echo "ok: the logo matches"
e2e_key Return
# The menu stands still once its fade is over.
sleep 3
menu=$(shot)
[ -n "$menu" ] && [ "$menu" != "$logo" ] || e2e_fail "F12 saved no screenshot of the menu"
cp "$menu" "$E2E_ARTIFACTS/menu-f12.png"
grep -q "^$(checksum "$menu") " "$reference" || e2e_fail "the menu differs from the in-memory layer's"
echo "ok: the menu matches"
xdotool key alt+F4
e2e_wait_exit 100 || e2e_fail "exit status $? after Alt+F4"
echo "PASS"
