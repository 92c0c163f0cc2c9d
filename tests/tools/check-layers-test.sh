#!/bin/sh
# The layer check over small trees: it passes includes from below, and names
# file and line of an include from above and of one from beside.
set -e
check="$(cd "$(dirname "$0")/../.." && pwd)/tools/check-layers.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
for folder in common interfaces module move localview filerefs report environment; do mkdir "$tree/$folder"; done
printf '#pragma once\n' > "$tree/common/Low.h"
printf '#include "common/Low.h"\n#include <windows.h>\n#include "GhMove.h"\n' > "$tree/localview/Mid.h"
printf '#include "localview/Mid.h"\n#include "common/Low.h"\n' > "$tree/move/Top.cpp"
"$check" "$tree" > "$tree/out" || { echo "a tree without a wrong include was refused:"; cat "$tree/out"; exit 1; }

printf '#pragma once\n\n#include "move/Top.h"\n' > "$tree/localview/Up.h"
printf '#include "report/Side.h"\n' > "$tree/filerefs/Side.cpp"
if "$check" "$tree" > "$tree/out"; then echo "wrong includes passed"; exit 1; fi
expected='filerefs/Side.cpp:1: filerefs includes report/Side.h of report
localview/Up.h:3: localview includes move/Top.h of move'
[ "$(cat "$tree/out")" = "$expected" ] || { echo "unexpected report:"; cat "$tree/out"; exit 1; }
