#!/bin/sh
# Runs ctest in a build tree with Wine's server started first: otherwise every
# test waits on the server's inherited pipe. Meant to run under xvfb-run.
build="$1"; shift
export WINEPREFIX="$(cd "$build" && pwd)/wineprefix"
export WINEDEBUG=-all
/usr/lib/wine/wineserver -p 2>/dev/null
"$("$(dirname "$0")/wine-loader.sh" "$build")" cmd /c exit </dev/null >/dev/null 2>&1
ctest --test-dir "$build" --output-on-failure "$@"
rc=$?
/usr/lib/wine/wineserver -k 2>/dev/null
exit $rc
