#!/bin/sh
# The reference vault client over its SQLite vault, step by step through
# ./vaulthost: a folder move that rewrites references, a rename, a move the
# vault refuses (the report dialog explains the missing permission; its image
# is saved), a move while another program holds a file (refused before
# anything changed, then done once it let go), an add-in's veto, and a move interrupted by a crash, recovered.
#   ./demo.sh [--target x86_64|i686]   (i686 runs under 32-bit Wine)
set -e
cd "$(dirname "$0")"
target=x86_64
if [ "$1" = --target ]; then target="$2"; fi
case "$target" in x86_64|i686) ;; *) echo "usage: ./demo.sh [--target x86_64|i686]" >&2; exit 2 ;; esac
tools/setup-machine.sh
[ "$target" = x86_64 ] || tools/setup-wine32.sh
tools/build.sh "$target" >/dev/null
export VAULTHOST_TARGET="$target"
build="$PWD/build/$target"
vault="$build/demo/vault"
config="$vault/installation"
rm -rf "$build/demo" && mkdir -p "$build/demo"
unset DISPLAY  # the dialogs save their images and close, as a user would after reading them
vh() { ./vaulthost "$@" --vault "$vault" | tr -d '\r'; }
step() { printf '\n== %s ==\n' "$*"; }
references() { vh ls | grep -B1 '^  references' | grep -v '^--' | sed 's/^/  /'; }
journal() { [ -f "$config/$1.journal" ] && tr -d '\r' <"$config/$1.journal"; rm -f "$config/$1.journal"; }

step "a sample vault: assemblies reference parts, a drawing the assembly"
vh init --sample
references

step "move folder Projects\\Gearbox into Archive: the documents that store its paths are rewritten"
vh mv 'Projects\Gearbox' Archive || true
echo "stored references afterwards:"
references

step "rename Archive\\Gearbox\\shaft.prt to main-shaft.prt"
vh rename 'Archive\Gearbox\shaft.prt' main-shaft.prt || true

step "move Released\\bracket.prt to Projects: the user may not move files out of Released"
journal ReportDialog >/dev/null || true
vh mv 'Released\bracket.prt' Projects || true
journal ReportDialog | awk -F'\t' '$1 == "Item" {
  print "  the report dialog shows: " $2 ": " $9
  if ($12 != "(null)" && $12 != $9) print "    and explains: " $12 }'
echo "  its image: $vault/refused-move.png"

step "move Projects\\Pump into Archive while another program holds pump.asm for 3 s"
cp "$vault/report-dialog.png" "$vault/refused-move.png"
WINEPREFIX="$build/wineprefix" WINEDEBUG=-all $(tools/wine-loader.sh "$build") "$build/bin/FileHolder.exe" \
  "$(printf 'Z:%s' "$vault/Engineering/Projects/Pump/pump.asm" | tr / '\\')" 3 &
sleep 1
vh mv 'Projects\Pump' Archive || true
journal ReportDialog | awk -F'\t' '$1 == "Item" { print "  the report dialog shows: " $2 ": " $9 }'
echo "  its image: $vault/report-dialog.png"
wait
echo "once the program let go, the same move:"
vh mv 'Projects\Pump' Archive | head -1

step "rename folder Archive\\Gearbox to Gearbox-2019: an add-in vetoes folder renames"
journal AddIn >/dev/null || true
printf 'veto=0x1F\n' >"$config/AddIn.ini"
vh rename 'Archive\Gearbox' Gearbox-2019 --silent || true
journal AddIn | sed 's/^/  the add-in was told: /'
rm -f "$config/AddIn.ini"

step "move Archive\\Gearbox back to Projects, killed after the first file moved"
VAULTHOST_CRASH_AT=during-local-moves vh mv 'Archive\Gearbox' Projects --silent || true
echo "check before recovery:"
vh check | sed 's/^/  /' || true
echo "recover:"
vh recover | sed 's/^/  /'
echo "check after recovery:"
vh check | sed 's/^/  /'
