# Shared by the installer's end-to-end tests (sourced): a Wine prefix of
# their own, so that what the installer writes and what the uninstaller
# removes can be compared with a prefix that nothing else touches.
#   source install_lib.sh SOURCE BUILD
source_dir=$1 build=$2
wine_dir=$build/wine_install
run() { "$source_dir/scripts/wine-run" --dir "$wine_dir" --keepalive "$build/wine_keepalive.exe" "$@"; }
export DISPLAY=$(run --print-display)
drive=$wine_dir/prefix/drive_c
user=$(id -un)
install_dir='C:\Program Files\Tarrantworks\Quillmere'
unix_install="$drive/Program Files/Tarrantworks/Quillmere"
programs="$drive/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
desktop="$drive/users/$user/Desktop"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere'
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The text of one registry value ("" for the default value), or nothing.
reg_value() {
  local key=$1 name=$2 out
  if [ -z "$name" ]; then
    out=$(run reg query "$key" /ve 2>/dev/null | tr -d '\r')
  else
    out=$(run reg query "$key" /v "$name" 2>/dev/null | tr -d '\r')
  fi
  printf '%s\n' "$out" | sed -n 's/^    .*    REG_SZ    //p' | head -1
}

reg_exists() { run reg query "$1" >/dev/null 2>&1; }

# Leaves the prefix as before any install: a test that failed half-way must
# not change what the next one sees.
clean_install_state() {
  rm -rf "$drive/Program Files/Tarrantworks" "$programs/Tarrantworks" "$desktop/Quillmere.lnk"
  # One regedit run deletes every key (each Wine start is slow on a busy machine).
  printf '%s\r\n' REGEDIT4 '' '[-HKEY_CLASSES_ROOT\.qlx]' '[-HKEY_CLASSES_ROOT\Quillmere.Grid]' \
    '[-HKEY_LOCAL_MACHINE\Software\Tarrantworks]' "[-${uninstall_key/HKLM/HKEY_LOCAL_MACHINE}]" \
    '[-HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\Quillmere.exe]' \
    > "$wine_dir/clean.reg"
  (cd "$wine_dir" && run regedit /S clean.reg >/dev/null 2>&1)
}

# Waits (up to 60 s) until the window titled exactly TITLE exists; prints its id.
wait_window() {
  local id
  for _ in $(seq 600); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits (up to 60 s) until the process PID has ended; its status in $ended.
wait_process() {
  for _ in $(seq 600); do
    kill -0 "$1" 2>/dev/null || { wait "$1"; ended=$?; return 0; }
    sleep 0.1
  done
  return 1
}
