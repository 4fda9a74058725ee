#!/usr/bin/env bash
# A Wordsquare session and the files around it: words typed into the bar,
# New building a puzzle from MainDict, Solve finding its words, Save Grid
# As and Open through the file dialogues, About and Help.
source "$(dirname "$0")/e2e_lib.sh" "$1" "$2" wordsquare
e2e_prepare
quill grid new "$(winpath "$work/square.qlx")" --size 10x10 --type wordsquare || fail "grid not created"
quill grid new "$(winpath "$work/week1.qlx")" --size 15x15 || fail "grid not created"

# The Wordsquare bar (relative to the main window, frame included).
word_x=60 bar_y=55 new_x=330 solve_x=271

start "$(winpath "$work/square.qlx")"
expect_title "Quillmere - square.qlx"

click_at $word_x $bar_y
for w in zebra apple mango; do
  type_text "$w"
  keys Return
done
shot words

# New: random dictionary words fitted into the grid (job 4).
click_at $new_x $bar_y
wait_log "job 4 ended with"
expect_title "Quillmere - square.qlx*"
shot new

# Solve: the dictionary words hidden in it, listed (job 3).
click_at $solve_x $bar_y
wait_log "job 3 ended with [1-9]"
shot solved

# Save Grid As, through the save dialogue.
keys alt+f Down Down Down Down Return
dialog=""
for _ in $(seq 100); do
  dialog=$(xdotool search --onlyvisible --name '^Save' 2>/dev/null | head -1)
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || fail "no save dialogue"
shot save-dialogue
keys ctrl+a
type_text "$(winpath "$work/saved.qlx")"
keys Return
expect_title "Quillmere - saved.qlx"
[ -s "$work/saved.qlx" ] || fail "saved.qlx was not written"
"${E2E_RUN[@]}" "$E2E_BUILD/quill.exe" grid info "$(winpath "$work/saved.qlx")" > "$work/info.json" 2>&1
grep -q '"grid_type":1' "$work/info.json" || fail "saved grid is not a Wordsquare"

# Open, through the open dialogue: a crossword brings the crossword bar.
keys alt+f Down Down Return
dialog=""
for _ in $(seq 100); do
  dialog=$(xdotool search --onlyvisible --name '^Open' 2>/dev/null | head -1)
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || fail "no open dialogue"
type_text "$(winpath "$work/week1.qlx")"
keys Return
expect_title "Quillmere - week1.qlx"
wait_log "create win parent .* tempno=108"
shot opened

# About: the information window with the version.
keys alt+h Up Return
about=""
for _ in $(seq 100); do
  about=$(xdotool search --onlyvisible --name '^About Quillmere' 2>/dev/null | head -1)
  [ -n "$about" ] && break
  sleep 0.1
done
[ -n "$about" ] || fail "no About window"
shot about
keys Escape

# Help: the help viewer opens the program's help file.
keys alt+h Down Return
viewer=""
for _ in $(seq 200); do
  viewer=$(xdotool search --onlyvisible --name 'Quillmere Help' 2>/dev/null | head -1)
  [ -n "$viewer" ] && break
  sleep 0.1
done
[ -n "$viewer" ] || fail "the help viewer did not open Quillmere.chm"
sleep 1
shot help
keys alt+F4
sleep 1
click_at 300 20

keys alt+f Up Return
expect_exit 0
echo "wordsquare session passed"
