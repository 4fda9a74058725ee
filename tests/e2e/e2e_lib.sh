# Helpers for driving Quillmere.exe under Wine as a person would: start it
# on the test session's display with its registry entries and a small
# dictionary, wait for windows and log lines, click, type, take pictures.
#
#   source e2e_lib.sh SOURCE_DIR BUILD_DIR NAME
#
# Pictures go to BUILD_DIR/tests/e2e/NAME-*.png; the program's debug log to
# $work/quillmere.log. Every wait has an upper bound so that a fault ends
# the test instead of hanging it.
set -u
E2E_SOURCE=$1 E2E_BUILD=$2 E2E_NAME=$3
E2E_RUN=("$E2E_SOURCE/scripts/wine-run" --dir "$E2E_BUILD/wine" --keepalive "$E2E_BUILD/wine_keepalive.exe")
export DISPLAY=$("${E2E_RUN[@]}" --print-display)
work="$E2E_BUILD/tests/e2e/$E2E_NAME.work"
shots="$E2E_BUILD/tests/e2e"
rm -rf "$work"
mkdir -p "$work/app" "$work/dicts"
export QUILLMERE_LOG="Z:${work//\//\\}\\quillmere.log"
log="$work/quillmere.log"
program=""
window=""

fail() {
  echo "FAIL: $*"
  [ -z "$window" ] || import -window root "$shots/$E2E_NAME-failure.png" 2>/dev/null
  [ -f "$log" ] && tail -20 "$log"
  [ -z "$program" ] || kill "$program" 2>/dev/null
  exit 1
}

winpath() { local p=$1; echo "Z:${p//\//\\}"; }

wine_reg() { "${E2E_RUN[@]}" reg "$@" >/dev/null 2>&1; }

# The program's directory (help file, no default grid, no choices) and the
# dictionary directory with MainDict built from the test word list.
e2e_prepare() {
  cp "$E2E_BUILD/app/shell/Quillmere.chm" "$work/app/"
  wine_reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Quillmere.exe' /v Path /d "$(winpath "$work/app")" /f \
    || fail "registry: App Paths"
  wine_reg add 'HKLM\Software\Tarrantworks\Dictionaries' /ve /d "$(winpath "$work/dicts")" /f || fail "registry: dictionaries"
  quill dict import "$(winpath "$work/dicts/MainDict.dic")" "$(winpath "$E2E_SOURCE/tests/data/e2e/words.txt")" \
    || fail "MainDict not built"
}

quill() { "${E2E_RUN[@]}" "$E2E_BUILD/quill.exe" "$@" >/dev/null 2>&1; }

# Starts the program with the given arguments and waits for its main window.
start() {
  : > "$log"
  "${E2E_RUN[@]}" "$E2E_BUILD/Quillmere.exe" "$@" &
  program=$!
  for _ in $(seq 1200); do
    window=$(xdotool search --onlyvisible --name '^Quillmere' 2>/dev/null | head -1)
    [ -n "$window" ] && grep -q 'create win parent .* tempno=108\|tempno=10c' "$log" 2>/dev/null && break
    kill -0 "$program" 2>/dev/null || fail "Quillmere ended before its window opened"
    sleep 0.1
  done
  [ -n "$window" ] || fail "no main window"
  sleep 1
  wx=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $4}')
  wy=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $4}')
}

title() { xdotool getwindowname "$window"; }

expect_title() {
  for _ in $(seq 100); do
    [ "$(title)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "title is '$(title)', expected '$1'"
}

shot() { import -window root "$shots/$E2E_NAME-$1.png"; echo "picture: $shots/$E2E_NAME-$1.png"; }

# Waits until the log holds a line matching the pattern (grep -E), at most
# 120 s.
wait_log() {
  for _ in $(seq 1200); do
    grep -Eq "$1" "$log" 2>/dev/null && return 0
    kill -0 "$program" 2>/dev/null || fail "Quillmere ended while waiting for '$1'"
    sleep 0.1
  done
  fail "no log line '$1'"
}
log_count() { grep -Ec "$1" "$log" 2>/dev/null; }

# Positions relative to the main window's top left (frame included).
click_at() { xdotool mousemove --sync $((wx + $1)) $((wy + $2)) click ${3:-1}; sleep 0.3; }
drag_from_to() {
  xdotool mousemove --sync $((wx + $1)) $((wy + $2)) mousedown 1
  sleep 0.2
  xdotool mousemove --sync $((wx + $1 + 2)) $((wy + $2))
  sleep 0.2
  xdotool mousemove --sync $((wx + $3)) $((wy + $4))
  sleep 0.2
  xdotool mouseup 1
  sleep 0.3
}
keys() { xdotool key --delay 120 "$@"; sleep 0.4; }
type_text() { xdotool type --delay 60 "$1"; sleep 0.3; }

# The colour of one screen pixel as rrggbb, from a fresh picture.
pixel() {
  import -window root "$work/pixel.png"
  /usr/bin/convert "$work/pixel.png" -crop 1x1+$((wx + $1))+$((wy + $2)) -depth 8 txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}' | tr -d '#' | tr A-F a-f
}

# A visible window named Quillmere other than the main window (a message box).
other_window() {
  for _ in $(seq 100); do
    local w
    for w in $(xdotool search --onlyvisible --name '^Quillmere' 2>/dev/null); do
      [ "$w" != "$window" ] && { echo "$w"; return 0; }
    done
    sleep 0.1
  done
  return 1
}
no_other_window() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Quillmere' 2>/dev/null); do
    [ "$w" != "$window" ] && return 1
  done
  return 0
}

# Waits for the program to end and checks its status.
expect_exit() {
  for _ in $(seq 300); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$program" 2>/dev/null && fail "Quillmere did not end"
  wait "$program"
  local status=$?
  program=""
  [ "$status" -eq "${1:-0}" ] || fail "exit status $status"
}

stop_program() {
  [ -z "$program" ] || kill "$program" 2>/dev/null
  program=""
}
trap stop_program EXIT
