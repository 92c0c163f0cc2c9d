#!/bin/sh
# Installs 32-bit Wine for the i686 tests when it is missing (Debian, as root
# or with sudo). The i386 package index has at times not matched the amd64
# one, so the installation is tried twice; when it still fails, one line says
# that the i686 tests are skipped and why, and the script exits with 1. So it
# does when the kernel cannot run 32-bit programs at all.
runs32() {
  /usr/lib/wine/wine --version >/dev/null 2>&1 && return 0
  echo "i686 tests skipped: this machine's kernel cannot run 32-bit programs ($(/usr/lib/wine/wine --version 2>&1 | head -1 | cut -c1-120))"
  return 1
}
[ -x /usr/lib/wine/wine ] && { runs32; exit $?; }
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
log=$(mktemp)
for attempt in 1 2; do
  echo "Installing 32-bit Wine (attempt $attempt)..."
  if $SUDO dpkg --add-architecture i386 >"$log" 2>&1 && $SUDO apt-get update -qq >>"$log" 2>&1 &&
     DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq wine32:i386 >>"$log" 2>&1 &&
     [ -x /usr/lib/wine/wine ]; then
    rm -f "$log"
    runs32
    exit $?
  fi
done
echo "i686 tests skipped: 32-bit Wine could not be installed ($(grep -E '^(E|W):' "$log" | head -1 | cut -c1-200))"
rm -f "$log"
exit 1
