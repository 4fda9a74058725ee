#!/usr/bin/env bash
# Takes a screenshot of a toolkit window with its menu bar and an open
# pop-up menu (or of what another test program shows), on the display the
# Wine runner gives the tests.
#
#   screenshot.sh SOURCE_DIR BUILD_DIR OUTPUT.png [PROGRAM]
#
# The program writes MARKER_DIR\ready when it is ready, waits for
# MARKER_DIR\done and ends with status 0 when its own checks held.
set -u
source=$1 build=$2 shot=$3 program_name=${4:-events_shot}
run=("$source/scripts/wine-run" --dir "$build/wine" --keepalive "$build/wine_keepalive.exe")
export DISPLAY=$("${run[@]}" --print-display)
markers=$(mktemp -d)
trap 'rm -rf "$markers"' EXIT

"${run[@]}" "$build/tests/events/$program_name.exe" "Z:$markers" &
program=$!
for _ in $(seq 300); do
  [ -f "$markers/ready" ] && break
  kill -0 $program 2>/dev/null || { echo "$program_name ended before it was ready"; exit 1; }
  sleep 0.1
done
[ -f "$markers/ready" ] || { echo "$program_name did not get ready"; kill $program; exit 1; }
rm -f "$shot"
import -window root "$shot" || { echo "screenshot failed"; touch "$markers/done"; exit 1; }
touch "$markers/done"
wait $program
status=$?
echo "screenshot: $shot"
[ $status -eq 0 ] || { echo "$program_name exit status $status"; exit 1; }
[ -s "$shot" ]
