#!/bin/sh
# What the reference host costs beside the module: a folder of N files (10,000
# by default) moved through ./vaulthost, its callbacks' time against the whole
# ghMove call's, measured in the same run. Prints one JSON line.
#   tools/bench-vaulthost.sh [N]
set -e
repo="$(cd "$(dirname "$0")/.." && pwd)"
files="${1:-10000}"
vault="$repo/build/${VAULTHOST_TARGET:-x86_64}/bench-vault"
rm -rf "$vault"
"$repo/vaulthost" init --files "$files" --vault "$vault" >/dev/null
line=$("$repo/vaulthost" mv Projects Archive --silent --progress --vault "$vault" 2>&1 >/dev/null | grep '^ghMove took')
"$repo/vaulthost" check --vault "$vault" >/dev/null || { echo "bench-vaulthost: check failed after the move" >&2; exit 1; }
echo "$line" | awk -v files="$files" '{ module = $3; host = $10;
  printf "{\"case\": \"vaulthost folder move\", \"files\": %d, \"module_s\": %s, \"host_s\": %s, \"host_per_module\": %.3f}\n",
         files, module, host, host / module }'
rm -rf "$vault"
