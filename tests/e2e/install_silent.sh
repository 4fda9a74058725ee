#!/usr/bin/env bash
# The silent install into the installer's own prefix: files, Start-menu and
# desktop links, registry values, file association, and an install log whose
# lines are exactly the expected ones in that order. Then the installed
# program is started from its Start-menu link.
set -u
source "$(dirname "$0")/install_lib.sh" "$1" "$2"
shots=$3
clean_install_state

run "$build/install.exe" /S /DESKTOP 2>"$build/install_silent.err"
status=$?
[ $status -eq 0 ] || fail "install.exe /S ended with $status: $(cat "$build/install_silent.err")"

# The log: exact lines, newest first, every line ended by CR LF.
expected=$(sed "s/@USER@/$user/" "$source_dir/tests/data/installer/install_log.txt")
actual=$(cat "$unix_install/install.log" 2>/dev/null)
[ "$actual" = "$(printf '%s' "$expected" | sed 's/$/\r/')" ] || {
  fail "install.log differs from the expected lines"
  diff <(printf '%s\n' "$expected") <(tr -d '\r' < "$unix_install/install.log")
}
[ "$(tail -c 2 "$unix_install/install.log" | od -An -c | tr -d ' ')" = '\r\n' ] ||
  fail "the log's last line does not end in CR LF"

# The files, as they are in the package.
for f in Quillmere.exe Quillmere.chm Uninstall.exe; do
  [ -f "$unix_install/$f" ] || fail "$f was not installed"
done
cmp -s "$unix_install/Quillmere.exe" "$build/Quillmere.exe" || fail "Quillmere.exe differs from the build's"
cmp -s "$unix_install/Uninstall.exe" "$build/Uninstall.exe" || fail "Uninstall.exe differs from the build's"
[ -d "$unix_install/Choices" ] && [ -d "$unix_install/Default" ] || fail "Choices or Default missing"
[ "$(head -c 4 "$unix_install/Quillmere.chm")" = ITSF ] || fail "Quillmere.chm is not a help file"
for link in "$programs/Tarrantworks/Quillmere.lnk" "$desktop/Quillmere.lnk"; do
  [ "$(head -c 4 "$link" 2>/dev/null | od -An -tx1 | tr -d ' ')" = 4c000000 ] || fail "no shell link $link"
done

# The registry.
check_value() { [ "$(reg_value "$1" "$2")" = "$3" ] || fail "$1 [$2] is '$(reg_value "$1" "$2")', not '$3'"; }
app_paths='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Quillmere.exe'
check_value "$app_paths" "" "$install_dir\\Quillmere.exe"
check_value "$app_paths" Path "$install_dir"
check_value "$uninstall_key" UninstallString "\"$install_dir\\Uninstall.exe\" \"$install_dir\\install.log\""
check_value "$uninstall_key" DisplayName "Tarrantworks Quillmere"
check_value "$uninstall_key" Publisher "Tarrantworks"
check_value 'HKCR\.qlx' "" "Quillmere.Grid"
check_value 'HKCR\Quillmere.Grid' "" "Quillmere grid file"
check_value 'HKCR\Quillmere.Grid\shell\open\command' "" "\"$install_dir\\Quillmere.exe\" \"%1\""
check_value 'HKCR\Quillmere.Grid\DefaultIcon' "" "$install_dir\\Quillmere.exe,1"
reg_exists 'HKLM\Software\Tarrantworks\Quillmere' || fail "no HKLM\\Software\\Tarrantworks\\Quillmere"

# A second silent install into the existing directory succeeds and logs the same.
run "$build/install.exe" /S /DESKTOP 2>/dev/null || fail "installing over an existing install failed"
[ "$(cat "$unix_install/install.log")" = "$actual" ] || fail "the second install's log differs"

# A bad argument and an unwritable directory: non-zero with the reason on standard error.
run "$build/install.exe" /S /Q >/dev/null 2>"$build/install_silent.err"
[ $? -ne 0 ] && grep -q "unknown or too long argument /Q" "$build/install_silent.err" || fail "/Q was accepted"
run "$build/install.exe" /S '/D=relative\dir' >/dev/null 2>"$build/install_silent.err"
[ $? -eq 1 ] && grep -q "must be a full path" "$build/install_silent.err" || fail "a relative directory was accepted"
touch "$drive/blocker"
run "$build/install.exe" /S '/D=C:\blocker\Quillmere' >/dev/null 2>"$build/install_silent.err"
[ $? -eq 1 ] && grep -q "(Create Directory)" "$build/install_silent.err" ||
  fail "a directory that cannot be made was not reported: $(cat "$build/install_silent.err")"
rm -f "$drive/blocker"

# The installed program starts from its Start-menu link.
link='C:\users\'"$user"'\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Tarrantworks\Quillmere.lnk'
run start /wait "$link" &
starter=$!
if window=$(wait_window Quillmere); then
  sleep 0.5
  import -window root "$shots/installed_program.png"
  run taskkill /IM Quillmere.exe >/dev/null 2>&1
else
  fail "Quillmere did not start from its Start-menu link"
fi
wait_process $starter || { fail "Quillmere did not end"; kill $starter; }

clean_install_state
[ $failures -eq 0 ] && echo "silent install: all checks passed"
exit $failures
