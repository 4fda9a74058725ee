#!/bin/sh
# Builds the installer's package, a ZIP archive of the files it installs:
#   make_package.sh OUT.zip licence.txt Quillmere.exe Uninstall.exe Quillmere.chm
# The licence is stored (the licence page shows its bytes as they are, with
# CR LF line ends); the others are deflated where that makes them smaller
# (zip stores a file that deflate would not shrink).
set -eu
out=$1
work=$out.files
rm -rf "$work" "$out"
mkdir -p "$work"
sed 's/\r*$/\r/' "$2" > "$work/licence.txt"
cp "$3" "$work/Quillmere.exe"
cp "$4" "$work/Uninstall.exe"
cp "$5" "$work/Quillmere.chm"
name=$(basename "$out")
(cd "$work" && zip -q -X -0 "../$name" licence.txt &&
  zip -q -X -9 "../$name" Quillmere.exe Quillmere.chm Uninstall.exe)
rm -rf "$work"
