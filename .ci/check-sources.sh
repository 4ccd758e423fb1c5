#!/usr/bin/env bash
# House rules that the compiler cannot check: no `extern` in a .cpp file, no mention of the design document.
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
exit $status
