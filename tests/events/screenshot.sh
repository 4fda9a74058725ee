#!/usr/bin/env bash
# Takes a screenshot of a toolkit window with its menu bar and an open
# pop-up menu, on the display the Wine runner gives the tests.
#
#   screenshot.sh SOURCE_DIR BUILD_DIR OUTPUT.png
set -u
source=$1 build=$2 shot=$3
run=("$source/scripts/wine-run" --dir "$build/wine" --keepalive "$build/wine_keepalive.exe")
export DISPLAY=$("${run[@]}" --print-display)
markers=$(mktemp -d)
trap 'rm -rf "$markers"' EXIT

"${run[@]}" "$build/tests/events/events_shot.exe" "Z:$markers" &
program=$!
for _ in $(seq 300); do
  [ -f "$markers/ready" ] && break
  kill -0 $program 2>/dev/null || { echo "events_shot ended before its menu opened"; exit 1; }
  sleep 0.1
done
[ -f "$markers/ready" ] || { echo "the pop-up menu did not open"; kill $program; exit 1; }
rm -f "$shot"
import -window root "$shot" || { echo "screenshot failed"; touch "$markers/done"; exit 1; }
touch "$markers/done"
wait $program
status=$?
echo "screenshot: $shot"
[ $status -eq 0 ] || { echo "events_shot exit status $status"; exit 1; }
[ -s "$shot" ]
