#!/usr/bin/env bash
# A crossword session as a user has it: the title with and without a grid
# file, Solve's errors, marking a word by dragging, Solve listing the
# solutions, a click writing one into the grid, Ctrl+S saving it, and
# quitting with and without unsaved changes.
source "$(dirname "$0")/e2e_lib.sh" "$1" "$2" crossword
e2e_prepare
quill grid new "$(winpath "$work/week1.qlx")" --size 15x15 || fail "grid not created"

# Geometry of the main window from its templates (96 dpi, frame included).
cell_x() { echo $((205 + $1 * 192 / 10 + 9)); }
cell_y() { echo $((73 + $1 * 192 / 10 + 9)); }
solve_x=35 solve_y=56

# No grid named: plain title; File > Exit asks nothing.
start
expect_title "Quillmere"
shot start
keys alt+f Up Return
expect_exit 0

start "$(winpath "$work/week1.qlx")"
expect_title "Quillmere - week1.qlx"

# Solve with nothing marked.
click_at $solve_x $solve_y
wait_log "command error 204 Need marked word!"
box=$(other_window) || fail "no message box for Need marked word!"
shot need-marked-word
keys Return
no_other_window || fail "message box still open"

drag_from_to $(cell_x 0) $(cell_y 0) $(cell_x 4) $(cell_y 0)
[ "$(pixel $(cell_x 2) $(cell_y 0))" = "eeeebb" ] || fail "dragged cells are not marked"
[ "$(pixel $(cell_x 5) $(cell_y 0))" = "ffffff" ] || fail "a cell beyond the drag is marked"
shot marked

# Solve lists the five-letter words of MainDict.
click_at $solve_x $solve_y
wait_log "job 1 ended with [0-9]+"
count=$(grep -Eo 'job 1 ended with [0-9]+' "$log" | tail -1 | grep -Eo '[0-9]+$')
expected=$(grep -Ec '^[a-z]{5}$' "$E2E_SOURCE/tests/data/e2e/words.txt")
[ "$count" -eq "$expected" ] || fail "Solve listed $count solutions, expected $expected"
sleep 0.5
shot solved

# A click on the first row writes its word into the marked cells.
first=$(grep -E '^[a-z]{5}$' "$E2E_SOURCE/tests/data/e2e/words.txt" | head -1)
click_at 20 80
expect_title "Quillmere - week1.qlx*"
shot applied

# Ctrl+S in the grid saves under the file's name; the star goes.
click_at $(cell_x 10) $(cell_y 10)
keys ctrl+s
expect_title "Quillmere - week1.qlx"
"${E2E_RUN[@]}" "$E2E_BUILD/quill.exe" grid info "$(winpath "$work/week1.qlx")" > "$work/info.json" 2>&1
grep -q "\"letters\":\[\"$first " "$work/info.json" || fail "saved grid does not start with $first: $(head -c 300 "$work/info.json")"

# Quitting with an unsaved grid asks; No keeps the program running.
keys alt+f Down Return          # New Words: the letters go, the grid counts as modified
expect_title "Quillmere - week1.qlx*"
keys alt+F4
box=$(other_window) || fail "no question before quitting with an unsaved grid"
shot confirm-quit
keys n
sleep 1
kill -0 "$program" 2>/dev/null || fail "No did not keep the program running"
expect_title "Quillmere - week1.qlx*"
keys alt+F4
box=$(other_window) || fail "no question the second time"
keys y
expect_exit 0
echo "crossword session passed"
