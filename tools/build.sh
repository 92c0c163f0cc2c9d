#!/bin/sh
# Configures and builds one target (x86_64 or i686) in build/<target>.
set -e
cd "$(dirname "$0")/.."
target="$1"
sqlite=$(tools/fetch-sqlite.sh)
if [ ! -f "build/$target/CMakeCache.txt" ]; then
  cmake -S . -B "build/$target" -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$target.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DGH_SQLITE_DIR="$sqlite" >/dev/null
fi
cmake --build "build/$target" -j"$(nproc)"
