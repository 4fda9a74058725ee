#!/usr/bin/env bash
# Edits a grid in Quillmere.exe as a person would: clicks, typing, an
# Adjust click with Shift, a reflection, Ctrl+Z, a drag; saves with Ctrl+S
# and checks the saved file through quill.exe; leaves a screenshot of
# filled squares, a bar, marked cells and the cursor.
set -u
source=$1 build=$2 shot=$3
run=("$source/scripts/wine-run" --dir "$build/wine" --keepalive "$build/wine_keepalive.exe")
export DISPLAY=$("${run[@]}" --print-display)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grid="$work/edit.qlx"
"${run[@]}" "$build/quill.exe" grid new "Z:${grid//\//\\}" --size 15x15 || { echo "quill grid new failed"; exit 1; }

"${run[@]}" "$build/Quillmere.exe" "Z:${grid//\//\\}" &
program=$!
finish() { "${run[@]}" taskkill /IM Quillmere.exe >/dev/null 2>&1; sleep 1; kill $program 2>/dev/null; }
window=""
for _ in $(seq 200); do
  window=$(xdotool search --name '^Quillmere' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  kill -0 $program 2>/dev/null || { echo "Quillmere ended before its window opened"; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "no Quillmere window"; finish; exit 1; }
sleep 1

# The grid: the first long black run below the menu and button bar is its
# top line, W x S + 1 pixels long.
import -window root "$work/start.png"
eval "$(xdotool getwindowgeometry --shell "$window")"
read -r gx gy glen < <(/usr/bin/convert "$work/start.png" -crop "$((WIDTH - 10))x$((HEIGHT - 70))+$((X + 5))+$((Y + 70))" +repage \
    -threshold 20% txt:- |
  awk -F'[,: ]+' -v ox=$((X + 5)) -v oy=$((Y + 70)) '
    /#000000/ { if ($2 == row && $1 == last + 1) { last = $1 } else { if (last - first + 1 >= 100) exit; row = $2; first = last = $1 } next }
    { if (last - first + 1 >= 100) exit }
    END { if (last - first + 1 >= 100) print first + ox, row + oy, last - first + 1 }')
[ -n "${glen:-}" ] || { echo "no grid on the screen"; finish; exit 1; }
square=$(awk -v n="$glen" 'BEGIN { print (n - 1) / 15 }')
echo "grid at $gx,$gy, square $square pixels"
cell() { awk -v c="$1" -v r="$2" -v x="$gx" -v y="$gy" -v s="$square" 'BEGIN {
  printf "%d %d", x + (c + 0.5) * s, y + (r + 0.5) * s }'; }
click() { xdotool mousemove $(cell "$1" "$2") click "${3:-1}"; sleep 0.2; }
key() { xdotool key "$@"; sleep 0.2; }

click 3 3            # Select: the cursor; typing beeps without a direction
xdotool type a; sleep 0.2
key Right            # one move right, then typing goes right
xdotool type bc; sleep 0.2
xdotool keydown shift; click 7 7 3; xdotool keyup shift   # Adjust + Shift: left bar
click 8 2 3          # Adjust: fill
key F6               # mirror: (8, 2) to (6, 2)
key ctrl+z           # undo the mirror
click 1 12           # the cursor, shown in the first screenshot
import -window root "${shot%.png}_cursor.png"
xdotool mousemove $(cell 2 10) mousedown 1; sleep 0.2
xdotool mousemove $(cell 4 10); sleep 0.2
xdotool mousemove $(cell 6 10); sleep 0.2
xdotool mouseup 1; sleep 0.3
key ctrl+s
sleep 0.5
import -window root "$shot" && echo "screenshot: $shot"
finish

info=$("${run[@]}" "$build/quill.exe" grid info "Z:${grid//\//\\}" | tr -d '\r')
echo "$info" | grep -q '"   abc         "' || { echo "row 3 is not \"   abc\": $info"; exit 1; }
# Attribute rows: (8, 2) filled (2), (6, 2) open again after the undo,
# (7, 7) with a left bar (4).
[ "$(echo "$info" | sed 's/.*"attributes":\[\[//' | awk -F'\\],\\[' '{print $3}')" = "0,0,0,0,0,0,0,0,2,0,0,0,0,0,0" ] ||
  { echo "row 2 of the attributes is wrong"; exit 1; }
[ "$(echo "$info" | sed 's/.*"attributes":\[\[//' | awk -F'\\],\\[' '{print $8}')" = "0,0,0,0,0,0,0,4,0,0,0,0,0,0,0" ] ||
  { echo "row 7 of the attributes is wrong"; exit 1; }
echo "grid edited and saved as expected"
