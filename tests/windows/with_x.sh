#!/usr/bin/env bash
# Runs a command with a private X server of its own (Wine needs one for any window), then stops the server.
set -u
fifo=$(mktemp -u /tmp/coilrun-x.XXXXXX)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$fifo"' EXIT
read -r -t 10 number <"$fifo" || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$number"
"$@"
