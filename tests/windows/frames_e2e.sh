#!/usr/bin/env bash
# The Windows game's logo and menu frames, saved with F12, match the in-memory layer's frames of the same
# screens pixel for pixel (its account of a demo's replay, made by the Windows build of the reference tool).
# The window shows the game's own icon, drawn from dist/coilrun.svg, not Windows' stock one.
# Arguments: the game, the data, the artifacts folder, the reference tool, a demo.
source "$(dirname "$0")/../e2e/e2e_lib.sh"
REFERENCE_TOOL=$4
DEMO=$5
"$REFERENCE_TOOL" "$E2E_DATA" "$E2E_WORK/reference" "$DEMO" >/dev/null || e2e_fail "no reference frames"
reference="$E2E_WORK/reference/$(basename "${DEMO%.rec}").frames"
# Asked before the game starts: under Wine, asking the game its version waits for every Windows program to end.
title=$(e2e_window_title)
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
  convert "$1" -depth 8 rgb:- | python3 "$(dirname "$0")/../e2e/frame_checksum.py"
}
# The window's 32x32 icon as Wine hands it to X (premultiplied ARGB), beside the game's icon drawn at that size.
rsvg-convert -w 32 -h 32 "$(dirname "$0")/../../dist/coilrun.svg" | convert png:- -depth 8 rgba:"$E2E_WORK/icon.rgba"
xprop -id "$(xdotool search --name "$title" | head -1)" -f _NET_WM_ICON 32c _NET_WM_ICON |
  python3 -c '
import sys
values = [int(v) for v in sys.stdin.read().split("=", 1)[1].split(",")]
drawn = open(sys.argv[1], "rb").read()
if values[:2] != [32, 32]:
    sys.exit(f"the window has no 32x32 icon first: {values[:2]}")
off = 0
for i, pixel in enumerate(values[2:2 + 32 * 32]):
    r, g, b, a = drawn[4 * i:4 * i + 4]
    shown = ((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255, pixel >> 24)
    off += max(abs(s - w) for s, w in zip(shown, (r * a / 255, g * a / 255, b * a / 255, a)))
if off / 1024 > 8:
    sys.exit(f"the window icon is not the game'"'"'s: {off / 1024:.1f} off on average")' "$E2E_WORK/icon.rgba" ||
  e2e_fail "the window does not show the game's icon"
echo "ok: the window shows the game's icon"
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
