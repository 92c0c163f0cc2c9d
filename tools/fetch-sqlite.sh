#!/bin/sh
# Fetches the SQLite amalgamation (3.53.2, as better-sqlite3 12.11.1 ships it)
# through npm once, checks sqlite3.c against the hash kept in cmake/, and
# prints the folder that holds it. Later runs use the cache, offline.
set -e
repo="$(cd "$(dirname "$0")/.." && pwd)"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/ghmove/sqlite-3.53.2"
if [ ! -f "$cache/sqlite3.c" ] || ! (cd "$cache" && sha256sum -c --status "$repo/cmake/sqlite3.sha256"); then
  command -v npm >/dev/null 2>&1 || {
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq npm >/dev/null
  }
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && npm pack --silent better-sqlite3@12.11.1 >/dev/null && tar xzf better-sqlite3-12.11.1.tgz package/deps/sqlite3)
  if ! (cd "$work/package/deps/sqlite3" && sha256sum -c --status "$repo/cmake/sqlite3.sha256"); then
    echo "fetch-sqlite: sqlite3.c from npm does not match cmake/sqlite3.sha256" >&2
    exit 1
  fi
  mkdir -p "$cache"
  cp "$work/package/deps/sqlite3/sqlite3.c" "$work/package/deps/sqlite3/sqlite3.h" "$cache/"
fi
echo "$cache"
