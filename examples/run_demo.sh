#!/usr/bin/env bash
# Shows what aplpatch does to a generated flight script: builds the program and the stand-in compiler,
# copies the sample script into a fresh temporary folder, runs `aplpatch -e FLIGHT.APL` there with the
# stand-in aplc2.exe on the search path, and reports the console output, the files, the flight's
# briefing and the changes.
#
# Usage: examples/run_demo.sh [script]    (default: examples/sample_flight.apl)
set -euo pipefail

examples="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$examples")"
sample="${1:-$examples/sample_flight.apl}"
build="$root/build/default"

echo "== Building aplpatch and the stand-in compiler (the first build takes a minute or two)"
(cd "$root" && cmake --preset default >/dev/null &&
  cmake --build --preset default --target aplpatch aplc2 | sed 's/^/   /')

work="$(mktemp -d "${TMPDIR:-/tmp}/aplpatch-demo.XXXXXX")"
cp "$sample" "$work/FLIGHT.APL"

echo "== Working folder: $work"
echo "== Running: aplpatch -e FLIGHT.APL   (aplc2.exe is the stand-in from $build/standin)"
echo
status=0
(cd "$work" && PATH="$build/standin:$PATH" "$build/commands/aplpatch" -e FLIGHT.APL) || status=$?
echo
echo "== Exit status: $status"
echo
echo "== Files left behind:"
(cd "$work" && find . -type f | sort | while read -r file; do
  printf '   %-22s %7d bytes\n' "${file#./}" "$(wc -c <"$file")"
done)
echo
echo "   result:  $work/FLIGHT.APL             (the rewritten script, compiled by aplc2.exe)"
echo "   backup:  $work/apl/FLIGHT.APL         (the script as generated)"
echo "            $work/apl/FLIGHT.APL.new     (the script as rewritten)"
echo "   log:     $work/apl/FLIGHT.APL.log     (the record of this run)"
echo
echo "== What the log says of this flight (aplpatch.ini beside aplpatch switches features off):"
tr -d '\r' <"$work/apl/FLIGHT.APL.log" | sed -n '/^settings: /,$p' | sed 's/^/   /'
echo

before="$work/apl/FLIGHT.APL"
after="$work/FLIGHT.APL"
changes="$(diff --strip-trailing-cr "$before" "$after" || true)"
added="$(grep -c '^>' <<<"$changes" || true)"
removed="$(grep -c '^<' <<<"$changes" || true)"
echo "== Changes: $(wc -l <"$before") lines as generated, $(wc -l <"$after") lines rewritten;" \
     "$added lines added, $removed removed (changed lines count as both)."
echo "   The first changes (\"-\" as generated, \"+\" as rewritten):"
diff --strip-trailing-cr -U1 "$before" "$after" | sed -n '3,42p' | sed 's/^/   /' || true
echo "   ..."
echo "   Whole comparison: diff --strip-trailing-cr -u '$before' '$after'"
exit "$status"
