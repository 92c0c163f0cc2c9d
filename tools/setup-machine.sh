#!/bin/sh
# Installs what building and testing needs, when it is missing (Debian).
set -e
need=""
for tool in cmake x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix x86_64-w64-mingw32-widl \
            /usr/lib/wine/wine64 xvfb-run xauth; do
  command -v "$tool" >/dev/null 2>&1 || need=yes
done
[ -d /usr/src/googletest ] || need=yes
# The login table's fuzz target builds natively with clang's libFuzzer.
if command -v clang++ >/dev/null 2>&1; then
  [ -f "$(clang++ -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a" ] || need=yes
else
  need=yes
fi
if [ -n "$need" ]; then
  echo "Installing build and test packages..."
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq \
    cmake make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools \
    wine wine64 xvfb xauth googletest clang libclang-rt-14-dev >/dev/null
fi
