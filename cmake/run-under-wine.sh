#!/usr/bin/env bash
# Runs a Windows console program under Wine for CMake and CTest as if it were a native one: Wine's
# own diagnostics are off unless WINEDEBUG asks for them, the program's exit status is passed on,
# and the CR of its CR LF line ends is dropped from its output, so that what reads the output (test
# discovery among others) sees plain lines.
#
# The output goes through files, not pipes: the helper processes that Wine starts in the
# background inherit the program's output handles and outlive it, and a pipe would stay open
# until they end.
export WINEDEBUG="${WINEDEBUG:--all}"
wine="$("$(dirname "${BASH_SOURCE[0]}")/wine-loader.sh")"

prefix="${WINEPREFIX:-$HOME/.wine}"
if [ ! -f "$prefix/system.reg" ]; then
  # A new prefix is set up once, before anything's output is looked at.
  "$wine" wineboot --init >/dev/null 2>&1 </dev/null
fi

output="$(mktemp)"
errors="$(mktemp)"
trap 'rm -f "$output" "$errors"' EXIT
"$wine" "$@" >"$output" 2>"$errors"
status=$?
tr -d '\r' <"$output"
tr -d '\r' <"$errors" >&2
exit "$status"
