#!/bin/sh
# Creates the Wine prefix of a build tree once and makes its windows unmanaged
# (without a window manager Wine otherwise waits ~2 s for each closing window).
# An i686 tree's prefix must be made after 32-bit Wine was installed.
set -e
export WINEPREFIX="$1"
export WINEDEBUG=-all
WINE=$("$(dirname "$0")/wine-loader.sh" "$(dirname "$WINEPREFIX")")
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" $WINE wineboot -u </dev/null >/dev/null 2>&1
  $WINE reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
fi
