#!/usr/bin/env bash
# The same crossword as an SVG rendered by librsvg (rsvg-convert, 180 dots
# per inch: one pixel per unit) and as an enhanced metafile played back
# under Wine: the two images must agree but for text edges (the two font
# renderers anti-alias differently). Writes side.png beside the images.
set -eu
source=$1 build=$2 test_exe=$3 dir=$4
run=("$source/scripts/wine-run" --dir "$build/wine" --keepalive "$build/wine_keepalive.exe")
rm -rf "$dir"
mkdir -p "$dir"
QM_PICTURE_COMPARE_DIR="Z:$dir" "${run[@]}" "$test_exe" \
  --gtest_filter='*SvgAndEnhancedPlaybackForComparison*' >"$dir/test.log" 2>&1 || { cat "$dir/test.log"; exit 1; }
[ -f "$dir/playback.ppm" ] || { cat "$dir/test.log"; echo "no playback written"; exit 1; }
rsvg-convert --dpi-x 180 --dpi-y 180 -o "$dir/svg.png" "$dir/picture.svg"
size_emf=$(/usr/bin/identify -format '%wx%h' "$dir/playback.ppm")
# The SVG's size in inches is rounded to four places, which librsvg may
# round up to one pixel more: that pixel lies outside the picture.
/usr/bin/convert "$dir/svg.png" -background white -flatten -crop "$size_emf+0+0" +repage "$dir/svg_flat.png"
size_svg=$(/usr/bin/identify -format '%wx%h' "$dir/svg_flat.png")
[ "$size_svg" = "$size_emf" ] || { echo "sizes differ: svg $size_svg, emf $size_emf"; exit 1; }
/usr/bin/convert "$dir/svg_flat.png" "$dir/playback.ppm" +append "$dir/side.png"
# Pixels that differ by more than a third of the range, against all pixels.
differ=$(/usr/bin/compare -metric AE -fuzz 33% "$dir/svg_flat.png" "$dir/playback.ppm" "$dir/diff.png" 2>&1 || true)
total=$(( ${size_svg%x*} * ${size_svg#*x} ))
echo "size $size_svg, differing pixels $differ of $total"
# Text edges only: under 1.5% of the picture.
[ "${differ%%.*}" -lt $(( total * 15 / 1000 )) ] || { echo "the SVG and the metafile disagree"; exit 1; }
