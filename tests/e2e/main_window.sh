#!/usr/bin/env bash
# Starts Quillmere.exe on the test session's display, waits for its main
# window, takes a screenshot, closes the window as a user would and checks
# that the program ends cleanly.
set -u
source=$1 build=$2 shot=$3
run=("$source/scripts/wine-run" --dir "$build/wine" --keepalive "$build/wine_keepalive.exe")
export DISPLAY=$("${run[@]}" --print-display)

"${run[@]}" "$build/Quillmere.exe" &
program=$!
window=""
for _ in $(seq 200); do
  window=$(xdotool search --name '^Quillmere$' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  kill -0 $program 2>/dev/null || { echo "Quillmere ended before its window opened"; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "no Quillmere window"; kill $program; exit 1; }
sleep 0.5
import -window root "$shot" || { echo "screenshot failed"; kill $program; exit 1; }
echo "screenshot: $shot"

# A close request, as the title bar's close box sends it: taskkill without
# /F posts WM_CLOSE to the program's windows.
"${run[@]}" taskkill /IM Quillmere.exe >/dev/null 2>&1
for _ in $(seq 100); do
  kill -0 $program 2>/dev/null || break
  sleep 0.1
done
if kill -0 $program 2>/dev/null; then
  echo "Quillmere did not end after the close request"
  kill $program
  exit 1
fi
wait $program
status=$?
echo "exit status $status"
[ $status -eq 0 ]
