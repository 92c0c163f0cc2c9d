#!/bin/sh
# Prints the Wine loader for a build tree: build/i686 runs under the 32-bit
# loader (through WoW64), every other tree under the 64-bit one.
case "$(cd "$1" && pwd)" in
  */i686) echo /usr/lib/wine/wine ;;
  *) echo /usr/lib/wine/wine64 ;;
esac
