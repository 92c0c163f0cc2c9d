#!/bin/sh
# Runs the benchmark for both targets in their own prefixes (after Setup) and
# prints each case's figures side by side: tools/bench-both.sh [bench options]
# (for example --case 20x500). Each target's ratio is against its own floor,
# measured in the same run. Needs both builds and, for i686, 32-bit Wine.
set -e
cd "$(dirname "$0")/.."
for target in x86_64 i686; do
  tools/wine-run.sh "build/$target/bin/Setup.exe" >/dev/null
  tools/wine-run.sh "build/$target/bin/move_benchmark.exe" --json "$@" | tr -d '\r' >"build/$target/bench.json"
  /usr/lib/wine/wineserver -k 2>/dev/null || true
done
field() { sed -n "s/.*\"$1\": \"\{0,1\}\([^\",}]*\).*/\1/p"; }
printf '%-16s %28s   %28s\n' "" "x86_64: module/floor (s)" "i686: module/floor (s)"
while read -r line; do
  name=$(echo "$line" | field case)
  [ "$name" = planning ] && continue
  other=$(grep "\"case\": \"$name\"" build/i686/bench.json | head -1)
  show() { printf '%6s (%8s / %8s)' "$(echo "$1" | field module_per_floor)" "$(echo "$1" | field module_s)" "$(echo "$1" | field floor_s)"; }
  printf '%-16s %28s   %28s\n' "$name" "$(show "$line")" "$(show "$other")"
done <build/x86_64/bench.json
