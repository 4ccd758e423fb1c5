#!/usr/bin/env bash
# House rules that the compiler cannot check: no `extern` in a .cpp file, no mention of the design document,
# and every include points down the floors of src/.
set -u
cd "$(dirname "$0")/.."
status=0
if hits=$(git grep -n -w extern -- '*.cpp' 2>/dev/null) && [ -n "$hits" ]; then
  echo "check-sources: 'extern' in a .cpp file; declare shared state in its owner's header:"
  echo "$hits"
  status=1
fi
pattern='\bspec(ification)?\b|\bPart [0-9]\.[0-9]'
if hits=$(git grep -n -I -i -E "$pattern" -- ':!*.md' ':!.ci' 2>/dev/null \
          | grep -v -i 'inspect\|respect') && [ -n "$hits" ]; then
  echo "check-sources: a source file mentions the design document:"
  echo "$hits"
  status=1
fi
if names=$(git ls-files | grep -i -E 'spec|part[-_ ]?[0-9]') && [ -n "$names" ]; then
  echo "check-sources: file names that mention the design document:"
  echo "$names"
  status=1
fi
# The floors of src/, top to bottom, and the folders each may include besides its own. A device layer
# (platform/<name>) includes its own folder, the shared platform code, and from the logic only the device
# headers and the plain types they pass. An entry point (src/*.cpp) reaches the game through app/, and
# the Windows one also its layer's start-up (console and data folder).
floors='
root     app platform/win32
app      game content images display devices
game     content images display devices
content  images display devices
images   display devices
display  devices
devices
platform platform/common devices display images
'
layer_headers='^(devices|display|images)/([a-z_]+_device|key_codes|message|surface)\.h$'
if hits=$(git grep -n -E '^#include "[a-z_]+/' -- 'src/*.h' 'src/*.cpp' 2>/dev/null | awk -v floors="$floors" -v layer="$layer_headers" '
  function floor(path,  parts, n) {
    n = split(path, parts, "/")
    if (n == 1) return "root"
    return parts[1] == "platform" ? parts[1] "/" parts[2] : parts[1]
  }
  BEGIN {
    n = split(floors, lines, "\n")
    for (i = 1; i <= n; i++) {
      m = split(lines[i], words, " ")
      for (j = 2; j <= m; j++) allowed[words[1] " " words[j]] = 1
    }
  }
  {
    split($0, colon, ":")
    file = substr(colon[1], 5)
    match($0, /#include "[^"]+"/)
    target = substr($0, RSTART + 10, RLENGTH - 11)
    from = floor(file)
    to = floor(target)
    if (from == to) next
    if (from ~ /^platform\//) {
      if (to ~ /^(devices|display|images)$/ && target !~ layer) { print; next }
      from = "platform"
    }
    if (!((from " " to) in allowed)) print
  }') && [ -n "$hits" ]; then
  echo "check-sources: an include that points up or across the floors of src/ (see the README's layout):"
  echo "$hits"
  status=1
fi
exit $status
