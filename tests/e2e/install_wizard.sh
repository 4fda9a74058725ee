#!/usr/bin/env bash
# The install wizard driven page by page with mouse clicks and typed keys,
# a screenshot of every page: Back and Continue through the pages, Cancel
# then No (the page stays), a directory typed and then lost by going Back
# from the Group page (the default returns), the Choose Directory dialog,
# a group of one's own and the desktop box; the result is checked on disk.
# Then Cancel then Yes ends the program with nothing installed.
set -u
source "$(dirname "$0")/install_lib.sh" "$1" "$2"
shots=$3
clean_install_state

# Dialog units of the templates (font MS Shell Dlg 8: 6 x 13 pixel base
# units) to pixels inside a window with a 3-pixel border and a caption.
click_dlu() {  # WINDOW X Y W H: clicks the middle of a control's rectangle
  local x=$(( 3 + (2 * $2 + $4) * 3 / 4 )) y=$(( 22 + (2 * $3 + $5) * 13 / 16 ))
  xdotool mousemove --window "$1" $x $y click 1
  sleep 0.7
}
shot() { sleep 0.5; import -window root "$shots/wizard_$1.png"; }
continue_button() { click_dlu "$frame" 136 148 50 14; }
back_button() { click_dlu "$frame" 82 148 50 14; }
cancel_button() { click_dlu "$frame" 190 148 50 14; }
# The newest top-level window titled TITLE other than the frame.
other_window() {
  xdotool search --name "^$1\$" 2>/dev/null | grep -v "^$frame\$" | tail -1
}
# Answers the stop question: its Yes and No buttons sit at fixed places.
answer() {
  local box=""
  for _ in $(seq 100); do box=$(other_window Install); [ -n "$box" ] && break; sleep 0.1; done
  [ -n "$box" ] || { fail "no stop question"; return; }
  shot cancel_question
  if [ "$1" = yes ]; then xdotool mousemove --window "$box" 88 83 click 1
  else xdotool mousemove --window "$box" 157 83 click 1; fi
  sleep 0.7
}
type_into() {  # WINDOW X Y W H TEXT: replaces a field's text
  click_dlu "$1" "$2" "$3" "$4" "$5"
  xdotool key End shift+Home BackSpace
  xdotool type --delay 15 "$6"
}

run "$build/install.exe" &
installer=$!
frame=$(wait_window Install) || { fail "no Install window"; exit 1; }
shot 1_prompt1
continue_button; shot 2_licence
back_button; continue_button         # Back from the licence shows Prompt1 again
cancel_button; answer no              # No: the licence page stays
[ -z "$(other_window Install)" ] || fail "the stop question is still open after No"
kill -0 $installer 2>/dev/null || fail "the installer ended after Cancel, No"
click_dlu "$frame" 136 148 50 14; shot 3_directory   # Agree
type_into "$frame" 12 50 170 13 'C:\Typed\Elsewhere'; shot 3_directory_typed
continue_button; sleep 1; shot 4_group
back_button; shot 5_directory_default  # back from Group: the default directory again
click_dlu "$frame" 188 49 50 14        # Browse...
getdir=""
for _ in $(seq 100); do getdir=$(other_window 'Choose Directory'); [ -n "$getdir" ] && break; sleep 0.1; done
if [ -n "$getdir" ]; then
  shot 6_choose_directory
  click_dlu "$getdir" 142 154 50 14    # Cancel: no change
else
  fail "no Choose Directory dialog"
fi
continue_button
type_into "$frame" 12 34 226 13 'Puzzle Tools'
click_dlu "$frame" 12 126 10 10        # Add icon to desktop
shot 7_group_filled
continue_button; shot 8_prompt2
continue_button; sleep 3; shot 9_prompt3
click_dlu "$frame" 190 148 50 14       # OK
wait_process $installer || { fail "the installer did not end after OK"; kill $installer; }
[ "${ended:-1}" -eq 0 ] || fail "the installer ended with status ${ended:-?}"

# What the pages chose: the default directory, the typed group, the desktop link.
[ -f "$unix_install/install.log" ] || fail "nothing installed in the default directory"
[ -e "$drive/Typed" ] && fail "the directory typed before going Back was used"
[ -f "$programs/Puzzle Tools/Quillmere.lnk" ] || fail "no link in the group typed on the Group page"
[ -f "$desktop/Quillmere.lnk" ] || fail "no desktop link"
grep -q '^link:.*\\Puzzle Tools\\Quillmere.lnk' "$unix_install/install.log" || fail "the group's link is not logged"
rm -rf "$programs/Puzzle Tools"
clean_install_state

# Cancel, then Yes: the program ends at once and installs nothing.
run "$build/install.exe" &
installer=$!
frame=$(wait_window Install) || { fail "no Install window"; exit 1; }
continue_button; click_dlu "$frame" 136 148 50 14; continue_button; continue_button  # to Prompt2
cancel_button; answer yes
wait_process $installer || { fail "the installer did not end after Cancel, Yes"; kill $installer; }
[ -e "$drive/Program Files/Tarrantworks" ] && fail "Cancel, Yes left files behind"

clean_install_state
[ $failures -eq 0 ] && echo "wizard: all checks passed"
exit $failures
