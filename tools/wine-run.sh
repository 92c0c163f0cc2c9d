#!/bin/sh
# Runs a Windows program under 64-bit Wine in the build tree's own prefix.
# The prefix lives beside the program (bin/../wineprefix) unless WINEPREFIX is set.
prog="$1"; shift
if [ -z "$WINEPREFIX" ]; then
  WINEPREFIX="$(cd "$(dirname "$prog")/.." && pwd)/wineprefix"
  export WINEPREFIX
fi
export WINEDEBUG="${WINEDEBUG:--all}"
exec /usr/lib/wine/wine64 "$prog" "$@"
