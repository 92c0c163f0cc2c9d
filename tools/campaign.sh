#!/bin/sh
# Runs the fault campaign in a build tree's prefix (after Setup), under Xvfb
# when no display is set: tools/campaign.sh BUILD [--runs N] [--seed S].
# As root it mounts a small tmpfs at the local view's folder "Full", so that
# moves into it copy across volumes and can run out of space.
set -e
build="$(cd "$1" && pwd)"; shift
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
view="$WINEPREFIX/drive_c/campaign/view"
# One small volume per build tree, so that two campaigns never share it.
full=/tmp/gh-campaign-full-$(echo "$build" | md5sum | cut -c1-8)
mkdir -p "$view"
volume=""
if [ "$(id -u)" = 0 ] && mkdir -p "$full" && { mountpoint -q "$full" || mount -t tmpfs -o size=24k tmpfs "$full"; }; then
  rm -rf "$view/Full"
  ln -s "$full" "$view/Full"
  volume=--small-volume
  trap 'rm -f "$view/Full"; umount "$full" 2>/dev/null || true' EXIT
fi
wine=$("$(dirname "$0")/wine-loader.sh" "$build")
run="$wine $build/bin/campaign.exe $volume"
$wine "$build/bin/Setup.exe" >/dev/null
if [ -z "$DISPLAY" ]; then
  xvfb-run -a $run "$@"
else
  $run "$@"
fi
