#!/bin/sh
# Runs a Windows program under Wine in the build tree's own prefix, with the
# loader of the tree's target. The prefix lives beside the program
# (bin/../wineprefix) unless WINEPREFIX is set.
prog="$1"; shift
build="$(cd "$(dirname "$prog")/.." && pwd)"
if [ -z "$WINEPREFIX" ]; then
  WINEPREFIX="$build/wineprefix"
  export WINEPREFIX
fi
export WINEDEBUG="${WINEDEBUG:--all}"
exec "$("$(dirname "$0")/wine-loader.sh" "$build")" "$prog" "$@"
