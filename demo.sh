#!/bin/sh
# Builds the module and runs the sample vault client: a rename and a folder
# move through ghMove on a small local view, then a move and a rename that the
# vault refuses, reported in the report dialog with the permission the user
# lacks, whose item for a name that is
# not unique opens the non-unique files dialog (both saved as PNG images under
# Xvfb), and a folder rename that an add-in vetoes.
#   ./demo.sh [--target x86_64|i686]   (i686 runs under 32-bit Wine)
set -e
cd "$(dirname "$0")"
target=x86_64
if [ "$1" = --target ]; then target="$2"; fi
case "$target" in x86_64|i686) ;; *) echo "usage: ./demo.sh [--target x86_64|i686]" >&2; exit 2 ;; esac
tools/setup-machine.sh
[ "$target" = x86_64 ] || tools/setup-wine32.sh
tools/build.sh "$target" >/dev/null
build="$PWD/build/$target"
wine=$(tools/wine-loader.sh "$build")
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
tools/prepare-prefix.sh "$WINEPREFIX"
rm -rf "$WINEPREFIX/drive_c/SampleVault"
# The stand-ins keep their journals in the demo folder; the dialogs save their
# images there and close themselves, as a user would after reading them. The
# report dialog opens the files that share a name as a user would, and the
# add-in refuses every folder rename.
demo="$build/demo"
rm -rf "$demo" && mkdir -p "$demo"
export STANDIN_DIR="Z:$(printf '%s' "$demo" | tr / '\\')"
printf 'snapshot=%s\\report-dialog.png\nsnapshot-close=1\ninvoke=11\n' "$STANDIN_DIR" | sed 's/\\/\\\\/g' >"$demo/ReportDialog.ini"
printf 'snapshot=%s\\non-unique-files.png\nsnapshot-close=1\n' "$STANDIN_DIR" | sed 's/\\/\\\\/g' >"$demo/NonUniqueFilesDialog.ini"
printf 'veto=0x1F\n' >"$demo/AddIn.ini"
# The client's login to the sample vault, the vault's database as the
# stored-procedure library reaches it, the user's rights there (files may not
# be moved out of \Projects\Gearbox\, folder 3, wherever it goes) and the
# folders the vault object resolves. The setup records the vault's settings.
printf 'record=session|SampleVault|engineer|cad|engineer@sample-db|secret||1|2|3|4|5|1\n' >"$demo/LoginManager.ini"
printf 'vault=tcp:sample-db|SampleVault|engineer@sample-db|secret|SampleVault|engineer\nrights=engineer|2|0x01A00009\nrights=engineer|3|0x00800001\n' >"$demo/Dalbrook.ini"
printf 'folder=C:\\\\SampleVault\\\\Projects|2\nfolder=C:\\\\SampleVault\\\\Archive\\\\Gearbox|3\n' >"$demo/Vault.ini"
vault_settings="SampleVault tcp:sample-db SampleVault 'C:\\SampleVault' archive.sample 3030"
xvfb-run -a sh -c "$wine $build/bin/Setup.exe && $wine $build/bin/Setup.exe /vault $vault_settings && $wine $build/bin/DemoHost.exe; /usr/lib/wine/wineserver -k" | tr -d '\r'
echo
for dialog in ReportDialog:report-dialog NonUniqueFilesDialog:non-unique-files; do
  name="${dialog%%:*}" image="$demo/${dialog#*:}.png"
  if [ -s "$image" ]; then
    echo "$name screenshot: $image"
  else
    echo "$name saved no screenshot (see $demo/$name.journal)"
  fi
done
