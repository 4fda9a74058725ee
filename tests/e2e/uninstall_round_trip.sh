#!/usr/bin/env bash
# The whole round trip in the installer's own prefix: install silently,
# start the installed Quillmere.exe, leave per-user files under Choices and
# Default, quit, then run the registry's UninstallString in its silent form.
# Afterwards nothing that the installer wrote remains, the uninstaller's
# temporary copy is gone, and the prefix's files and registry are as before.
set -u
source "$(dirname "$0")/install_lib.sh" "$1" "$2"
shots=$3
work=$wine_dir/round_trip
rm -rf "$work" && mkdir -p "$work"
clean_install_state

# Snapshots: every file and directory under drive C (Wine's own scratch
# places left out), and the Software branches of the registry.
snapshot() {
  (cd "$drive" && find . -path ./windows/temp -prune -o -path "./users/$user/Temp" -prune -o \
     -path "./users/$user/AppData/Local/Temp" -prune -o -print | LC_ALL=C sort) > "$work/$1.files"
  (cd "$work" && run regedit /E "$1.hklm.reg" 'HKEY_LOCAL_MACHINE\Software' &&
     run regedit /E "$1.hkcu.reg" 'HKEY_CURRENT_USER\Software') >/dev/null 2>&1
  # Wine keeps its own run-time records under these keys; they change by themselves.
  for f in "$work/$1".*.reg; do
    iconv -f UTF-16LE -t UTF-8 "$f" | tr -d '\r' |
      awk '/^\[/{skip = ($0 ~ /Wine\\(Fonts|X11 Driver)|Explorer\\(RunMRU|RecentDocs)|MuiCache/)} !skip' > "$f.txt"
  done
}
snapshot before

run "$build/install.exe" /S /DESKTOP 2>"$work/install.err" || fail "install failed: $(cat "$work/install.err")"

# The installed program, started from the install directory. The main
# program proper (it has a Save As Default command) opens a grid, saves it
# and saves it as the user's default through its menu commands; the early
# stand-in has no menus, so its per-user files are written here as the main
# program names them.
login=$user
grid='C:\users\'"$user"'\round_trip.qlx'
if grep -aq "Save As Default" "$unix_install/Quillmere.exe"; then
  cp "$source_dir/tests/data/grid/sample.qlx" "$drive/users/$user/round_trip.qlx"
  run "$install_dir\Quillmere.exe" "$grid" &
  program=$!
  window=""
  for _ in $(seq 600); do
    window=$(xdotool search --name '^Quillmere' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  if [ -n "$window" ]; then
    before=$(stat -c %Y.%s "$drive/users/$user/round_trip.qlx")
    sleep 1.1
    run "$build/post_command.exe" Quillmere 40028 || fail "File > Save did not reach the program"
    [ "$(stat -c %Y.%s "$drive/users/$user/round_trip.qlx")" != "$before" ] || fail "File > Save wrote nothing"
    run "$build/post_command.exe" Quillmere 40006 || fail "File > Save As Default did not reach the program"
    [ -f "$unix_install/Default/$login.qlx" ] || fail "Save As Default wrote no $login.qlx under Default"
  fi
else
  run "$install_dir\Quillmere.exe" &
  program=$!
  window=$(wait_window Quillmere)
  if [ -n "$window" ]; then
    printf 'choices' > "$unix_install/Choices/$login.dat"
    printf 'grid' > "$unix_install/Default/$login.qlx"
    mkdir -p "$unix_install/Default/old" && printf 'old' > "$unix_install/Default/old/$login.qlx"
  fi
fi
if [ -n "$window" ]; then
  sleep 0.5
  import -window root "$shots/round_trip_program.png"
  run taskkill /IM Quillmere.exe >/dev/null 2>&1
else
  fail "the installed Quillmere.exe did not open its window"
fi
wait_process $program || { fail "Quillmere did not end"; kill $program; }
[ -n "$(ls -A "$unix_install/Default")" ] || fail "nothing under Default"
rm -f "$drive/users/$user/round_trip.qlx"  # the saved grid is the user's, not the installer's

# The UninstallString, in its silent form.
uninstall=$(reg_value "$uninstall_key" UninstallString)
program_path=$(printf '%s' "$uninstall" | sed -n 's/^"\([^"]*\)" "\([^"]*\)"$/\1/p')
log_path=$(printf '%s' "$uninstall" | sed -n 's/^"\([^"]*\)" "\([^"]*\)"$/\2/p')
[ -n "$program_path" ] && [ -n "$log_path" ] || fail "UninstallString '$uninstall' is not two quoted paths"
run "$program_path" /S "$log_path" 2>"$work/uninstall.err"
[ $? -eq 0 ] || fail "Uninstall.exe /S failed"
[ -s "$work/uninstall.err" ] && fail "the uninstaller reported: $(cat "$work/uninstall.err")"

# The temporary copy finishes the job and deletes itself.
temp_copy=$(find "$drive/users/$user" -maxdepth 4 -name uninstalltw.exe 2>/dev/null | head -1)
for _ in $(seq 600); do
  [ -e "$unix_install" ] || [ -n "$(find "$drive/users/$user" -maxdepth 4 -name uninstalltw.exe)" ] || break
  sleep 0.1
done
[ -e "$unix_install" ] && fail "the install directory is still there: $(ls -R "$unix_install")"
[ -n "$(find "$drive/users/$user" -maxdepth 4 -name uninstalltw.exe)" ] && fail "the temporary copy is still there"
[ -e "$drive/Program Files/Tarrantworks" ] && fail "the maker's folder is still there"

snapshot after
diff "$work/before.files" "$work/after.files" > "$work/files.diff" || { fail "files differ:"; cat "$work/files.diff"; }
for part in hklm hkcu; do
  diff "$work/before.$part.reg.txt" "$work/after.$part.reg.txt" > "$work/$part.diff" ||
    { fail "registry ($part) differs:"; head -40 "$work/$part.diff"; }
done

clean_install_state
[ $failures -eq 0 ] && echo "round trip: all checks passed"
exit $failures
