#!/usr/bin/env bash
# The layer check must catch an upward include: plants one in a copy of src/ and expects the
# check to fail on exactly that line, and a Windows header outside the Win32 folders as well.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
COPY=$(mktemp -d)
trap 'rm -rf "$COPY"' EXIT
cp -r "$ROOT/src" "$COPY/src"
"$ROOT/scripts/check-layers" "$COPY/src" >/dev/null

echo '#include "app/form1.h"' >>"$COPY/src/board/interpolation.cpp"
echo '#include <windows.h>' >>"$COPY/src/pointer/mouse_injection.cpp"
if output=$("$ROOT/scripts/check-layers" "$COPY/src"); then
  echo "the check passed with planted includes"
  exit 1
fi
echo "$output"
grep -q 'src/board/interpolation.cpp:[0-9]*: board includes app/form1.h' <<<"$output"
grep -q 'src/pointer/mouse_injection.cpp:[0-9]*: Windows header' <<<"$output"
grep -q 'layer check: 2 problem(s)' <<<"$output"
