#!/bin/sh
# Builds the module and runs the sample vault client: a rename and a folder
# move through ghMove on a small local view, then a move and a rename that the
# vault refuses, reported in the report dialog, whose item for a name that is
# not unique opens the non-unique files dialog (both saved as PNG images under
# Xvfb), and a folder rename that an add-in vetoes.
set -e
cd "$(dirname "$0")"
tools/setup-machine.sh
tools/build.sh x86_64 >/dev/null
export WINEPREFIX="$PWD/build/x86_64/wineprefix" WINEDEBUG=-all
tools/prepare-prefix.sh "$WINEPREFIX"
rm -rf "$WINEPREFIX/drive_c/SampleVault"
# The stand-ins keep their journals in the demo folder; the dialogs save their
# images there and close themselves, as a user would after reading them. The
# report dialog opens the files that share a name as a user would, and the
# add-in refuses every folder rename.
demo="$PWD/build/x86_64/demo"
rm -rf "$demo" && mkdir -p "$demo"
export STANDIN_DIR="Z:$(printf '%s' "$demo" | tr / '\\')"
printf 'snapshot=%s\\report-dialog.png\nsnapshot-close=1\ninvoke=11\n' "$STANDIN_DIR" | sed 's/\\/\\\\/g' >"$demo/ReportDialog.ini"
printf 'snapshot=%s\\non-unique-files.png\nsnapshot-close=1\n' "$STANDIN_DIR" | sed 's/\\/\\\\/g' >"$demo/NonUniqueFilesDialog.ini"
printf 'veto=0x1F\n' >"$demo/AddIn.ini"
xvfb-run -a sh -c '/usr/lib/wine/wine64 build/x86_64/bin/Setup.exe && /usr/lib/wine/wine64 build/x86_64/bin/DemoHost.exe; /usr/lib/wine/wineserver -k' | tr -d '\r'
echo
for dialog in ReportDialog:report-dialog NonUniqueFilesDialog:non-unique-files; do
  name="${dialog%%:*}" image="$demo/${dialog#*:}.png"
  if [ -s "$image" ]; then
    echo "$name screenshot: $image"
  else
    echo "$name saved no screenshot (see $demo/$name.journal)"
  fi
done
