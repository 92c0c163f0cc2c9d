#!/bin/sh
# Installs what building and testing needs, when it is missing (Debian).
set -e
need=""
for tool in cmake x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix x86_64-w64-mingw32-widl \
            /usr/lib/wine/wine64 xvfb-run xauth; do
  command -v "$tool" >/dev/null 2>&1 || need=yes
done
[ -d /usr/src/googletest ] || need=yes
if [ -n "$need" ]; then
  echo "Installing build and test packages..."
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq \
    cmake make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools \
    wine wine64 xvfb xauth googletest >/dev/null
fi
