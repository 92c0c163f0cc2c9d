#!/bin/sh
# A move the vault refuses, through ./vaulthost as a user runs it: the report
# dialog shows the refused item and explains it by the right that the vault
# database says the user lacks on the folder.
#   report-through-cli.sh BUILD_TREE
set -e
build="$1"
repo="$(cd "$(dirname "$0")/../.." && pwd)"
vault="$build/report-test-vault"
rm -rf "$vault"
export VAULTHOST_TARGET="$(basename "$build")"
unset DISPLAY  # the dialog saves its image and closes itself
"$repo/vaulthost" init --sample --vault "$vault" >/dev/null
status=0
"$repo/vaulthost" mv 'Released\bracket.prt' Projects --vault "$vault" >"$vault/out.txt" || status=$?
fail() { echo "report-through-cli: $*" >&2; cat "$vault/out.txt" >&2; exit 1; }
[ "$status" = 1 ] || fail "exit code $status, not 1"
journal="$vault/installation/ReportDialog.journal"
tr -d '\r' <"$journal" | awk -F'\t' '$1 == "Item" && $2 == "bracket.prt" { print $9 "|" $12 }' >"$vault/items.txt"
grep -qx 'You lack permission to move this item|You do not have Move file permissions' \
  "$vault/items.txt" || fail "the report showed: $(cat "$vault/items.txt")"
[ -s "$vault/report-dialog.png" ] || fail "no image of the report dialog"
"$repo/vaulthost" check --vault "$vault" >/dev/null || fail "the refused move changed the vault"
rm -rf "$vault"
