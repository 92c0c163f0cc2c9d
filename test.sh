#!/bin/sh
# Builds both targets, runs every test under 64-bit Wine and Xvfb and a short
# fault campaign, then fuzzes the login table's and the registry values' readers
# natively for about a minute.
set -e
cd "$(dirname "$0")"
tools/setup-machine.sh
tools/build.sh x86_64
tools/build.sh i686      # the product's 32-bit layout must always build
tools/prepare-prefix.sh "$PWD/build/x86_64/wineprefix"
xvfb-run -a tools/run-ctest.sh build/x86_64
tools/campaign.sh build/x86_64 --runs 100
tools/fuzz.sh
