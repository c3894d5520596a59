#!/usr/bin/env bash
# Prints the command that starts a Windows program under Wine here: APLPATCH_WINE when it is set,
# otherwise `wine`, or the 64-bit loader itself where `wine` cannot start at all.
#
# Debian's `wine` starts its 32-bit loader whenever 32-bit Wine (wine32) is installed, also on a
# system that cannot run 32-bit programs (a kernel without 32-bit support): then not even a 64-bit
# program starts through it, while the 64-bit loader runs 64-bit programs as ever. 32-bit programs
# do not start then, which is what the build's probe finds and reports.
if [ -n "${APLPATCH_WINE:-}" ]; then
  echo "$APLPATCH_WINE"
elif ! wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ] &&
     /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
  echo /usr/lib/wine/wine64
else
  echo wine
fi
