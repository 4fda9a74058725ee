# The set-up that quill's end-to-end scripts share, sourced at their top:
# their arguments are the command that runs quill (in the Windows build:
# the Wine runner, then quill.exe), which becomes the array `quill`; they
# run in a fresh scratch directory removed on exit; `check NAME EXPECTED
# ACTUAL` counts a case, and `finish` prints "N passed, M failed" and
# fails on any failure.
set -u
quill=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
passed=0
failed=0

check() {   # check NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAILED %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
    fi
}

finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
