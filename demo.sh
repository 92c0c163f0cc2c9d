#!/bin/sh
# Builds the module and runs the sample vault client: a rename and a folder
# move through ghMove on a small local view.
set -e
cd "$(dirname "$0")"
tools/setup-machine.sh
tools/build.sh x86_64 >/dev/null
export WINEPREFIX="$PWD/build/x86_64/wineprefix" WINEDEBUG=-all
tools/prepare-prefix.sh "$WINEPREFIX"
rm -rf "$WINEPREFIX/drive_c/SampleVault"
xvfb-run -a sh -c '/usr/lib/wine/wine64 build/x86_64/bin/Setup.exe && /usr/lib/wine/wine64 build/x86_64/bin/DemoHost.exe; /usr/lib/wine/wineserver -k' | tr -d '\r'
