#!/bin/sh
# Checks that no layer of the module includes one above it, builds both
# targets, runs every test and a short fault campaign under Wine
# and Xvfb for each (i686 under 32-bit Wine, when it can be installed), then
# fuzzes the login table's and the registry values' readers natively for
# about a minute. Each part says how long it took.
set -e
cd "$(dirname "$0")"
part() {
  started=$(date +%s)
  "$@" && rc=0 || rc=$?
  echo "test.sh: '$*' took $(( $(date +%s) - started )) s"
  return $rc
}
part tools/check-layers.sh
part tools/setup-machine.sh
part tools/build.sh x86_64
part tools/build.sh i686
part tools/prepare-prefix.sh "$PWD/build/x86_64/wineprefix"
part xvfb-run -a tools/run-ctest.sh build/x86_64
part tools/campaign.sh build/x86_64 --runs 100
if part tools/setup-wine32.sh; then
  part tools/prepare-prefix.sh "$PWD/build/i686/wineprefix"
  part xvfb-run -a tools/run-ctest.sh build/i686
  part tools/campaign.sh build/i686 --runs 50
fi
part tools/fuzz.sh
