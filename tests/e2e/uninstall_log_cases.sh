#!/usr/bin/env bash
# The uninstaller against a hand-written log in the installer's prefix:
# started without an argument it shows its pages and removes nothing; with
# an LF-only log in mixed-case prefixes it removes files, "dirw:" trees with
# nested folders, a value (its key stays) and a key, defers its own file and
# the install directory to its temporary copy, and skips, reporting them,
# lines that point outside what the installer writes.
set -u
source "$(dirname "$0")/install_lib.sh" "$1" "$2"
shots=$3
case_dir="$drive/QmCase"
rm -rf "$case_dir"
clean_install_state
mkdir -p "$case_dir/Quillmere/Choices" "$case_dir/Quillmere/Default/sub/deep" "$case_dir/Outside"
cp "$build/Uninstall.exe" "$case_dir/Quillmere/Uninstall.exe"
printf 'x' > "$case_dir/Quillmere/Quillmere.exe"
printf 'x' > "$case_dir/Quillmere/Quillmere.chm"
printf 'c' > "$case_dir/Quillmere/Choices/$user.dat"
printf 'd' > "$case_dir/Quillmere/Default/sub/deep/$user.qlx"
printf 'd' > "$case_dir/Quillmere/Default/$user.qlx"
printf 'keep' > "$case_dir/keep.txt"
printf 'keep' > "$case_dir/Outside/file.txt"
printf '%s\r\n' REGEDIT4 '' \
  '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\Quillmere.exe]' \
  '@="C:\\QmCase\\Quillmere\\Quillmere.exe"' '"Path"="C:\\QmCase\\Quillmere"' '' \
  '[HKEY_LOCAL_MACHINE\Software\Tarrantworks\Quillmere]' '"Version"="1"' > "$wine_dir/case.reg"
(cd "$wine_dir" && run regedit /S case.reg >/dev/null 2>&1)
d='C:\QmCase\Quillmere'
printf '%s\n' "FILE:$d\\install.log" \
  'key:HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Quillmere.exe\Path' \
  'KEY:HKLM\Software\Tarrantworks\Quillmere\' \
  'File:C:\QmCase\keep.txt' 'dirw:C:\QmCase\Outside' 'key:HKCU\Software\Wine\' \
  "file:$d\\Uninstall.exe" "file:$d\\Quillmere.chm" "file:$d\\Quillmere.exe" \
  "DIRW:$d\\Default" "dirw:$d\\Choices" "dir:$d" > "$case_dir/Quillmere/install.log"
files_before=$(cd "$case_dir" && find . | sort)

# No argument: the three pages (Back on the second shows the first again), nothing removed.
click_dlu() {
  xdotool mousemove --window "$1" $(( 3 + (2 * $2 + $4) * 3 / 4 )) $(( 22 + (2 * $3 + $5) * 13 / 16 )) click 1
  sleep 0.7
}
run "$case_dir/Quillmere/Uninstall.exe" &
uninstaller=$!
if frame=$(wait_window Uninstall); then
  sleep 0.5; import -window root "$shots/uninstall_1_prompt1.png"
  click_dlu "$frame" 136 148 50 14
  sleep 0.5; import -window root "$shots/uninstall_2_prompt2.png"
  click_dlu "$frame" 82 148 50 14      # Back
  click_dlu "$frame" 136 148 50 14
  click_dlu "$frame" 136 148 50 14
  sleep 0.5; import -window root "$shots/uninstall_3_prompt3.png"
  click_dlu "$frame" 190 148 50 14     # OK
  wait_process $uninstaller || { fail "Uninstall.exe did not end"; kill $uninstaller; }
  [ "${ended:-1}" -eq 0 ] || fail "Uninstall.exe without a log ended with ${ended:-?}"
else
  fail "no Uninstall window"
fi
[ "$(cd "$case_dir" && find . | sort)" = "$files_before" ] || fail "the run without a log changed files"

# The silent form with the log.
run "$d\\Uninstall.exe" /S "$d\\install.log" 2>"$wine_dir/case.err"
[ $? -eq 0 ] || fail "Uninstall.exe /S failed"
for line in 'File:C:\QmCase\keep.txt' 'dirw:C:\QmCase\Outside' 'key:HKCU\Software\Wine\'; do
  grep -qF "$line" "$wine_dir/case.err" || fail "the skipped line $line was not reported"
done
for _ in $(seq 600); do
  [ -e "$case_dir/Quillmere" ] || break
  sleep 0.1
done
[ -e "$case_dir/Quillmere" ] && fail "left behind: $(cd "$case_dir" && find Quillmere)"
[ -f "$case_dir/keep.txt" ] && [ -f "$case_dir/Outside/file.txt" ] || fail "a file outside the install was removed"
[ -n "$(find "$drive/users/$user" -maxdepth 4 -name uninstalltw.exe)" ] && fail "the temporary copy is still there"
app_paths='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Quillmere.exe'
[ "$(reg_value "$app_paths" "")" = 'C:\QmCase\Quillmere\Quillmere.exe' ] || fail "deleting the value Path took the key's default value"
[ -z "$(reg_value "$app_paths" Path)" ] || fail "the value Path is still there"
reg_exists 'HKLM\Software\Tarrantworks\Quillmere' && fail "the key ending in \\ was not deleted"
reg_exists 'HKCU\Software\Wine' || fail "a key outside the installer's was deleted"

rm -rf "$case_dir"
clean_install_state
[ $failures -eq 0 ] && echo "uninstall log cases: all checks passed"
exit $failures
