#!/bin/sh
# Builds the module and runs the sample vault client: a rename and a folder
# move through ghMove on a small local view, then a move that the vault
# refuses, reported in the report dialog (saved as a PNG image under Xvfb).
set -e
cd "$(dirname "$0")"
tools/setup-machine.sh
tools/build.sh x86_64 >/dev/null
export WINEPREFIX="$PWD/build/x86_64/wineprefix" WINEDEBUG=-all
tools/prepare-prefix.sh "$WINEPREFIX"
rm -rf "$WINEPREFIX/drive_c/SampleVault"
# The stand-ins keep their journals in the demo folder; the report dialog
# saves its image there and closes itself, as a user would after reading it.
demo="$PWD/build/x86_64/demo"
rm -rf "$demo" && mkdir -p "$demo"
export STANDIN_DIR="Z:$(printf '%s' "$demo" | tr / '\\')"
printf 'snapshot=%s\\report-dialog.png\nsnapshot-close=1\n' "$STANDIN_DIR" | sed 's/\\/\\\\/g' >"$demo/ReportDialog.ini"
xvfb-run -a sh -c '/usr/lib/wine/wine64 build/x86_64/bin/Setup.exe && /usr/lib/wine/wine64 build/x86_64/bin/DemoHost.exe; /usr/lib/wine/wineserver -k' | tr -d '\r'
if [ -s "$demo/report-dialog.png" ]; then
  echo "\nReport dialog screenshot: $demo/report-dialog.png"
else
  echo "\nThe report dialog saved no screenshot (see $demo/ReportDialog.journal)"
fi
