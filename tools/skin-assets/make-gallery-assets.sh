#!/usr/bin/env bash
# Draws the SkinUI Gallery's pictures with ImageMagick 6 and writes them to resources/gallery/ (or to
# the folder given as $1), in Quoril's palette: a navy-to-ocean header, a cool off-white body, blue
# controls. The outputs are committed; run this again only to change the look.
# Usage: tools/skin-assets/make-gallery-assets.sh [OUTDIR]   (IM=/path/to/convert to pick one)
#
# Every multi-state picture is a horizontal strip of equal looks that the skin addresses with
# source='x0,0,x1,h'; frames are nine-grids (the skin gives the corner). Round shapes are drawn at
# 4x and reduced, for smooth edges. Each picture also gets a "name@2x.png" beside it, the same
# drawing at twice the size, which a window at 200 % (or between 100 % and 200 %) draws instead.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../../resources/gallery}
IM=${IM:-convert}
mkdir -p "$out"
# No creation dates in the files, so an unchanged drawing gives unchanged bytes.
png=(-define png:exclude-chunks=date,time,tIME -strip)

navy='#0B2559'; ocean='#1366C9'; glow='#38BDF8'
blue='#2563EB'; blue_hot='#3B82F6'; blue_pushed='#1E46B4'
line='#C8D2E1'; line_hot='#7FA7F0'; tint='#EAF1FD'; rail='#D5DEEB'
S=4

# strip OUT WIDTH HEIGHT DRAW... : one look per DRAW argument (ImageMagick -draw primitives in look
# pixels), drawn at S times the size and reduced to 1x (OUT) and 2x (OUT with "@2x").
strip() {
  local file=$1 w=$2 h=$3; shift 3
  local looks=() i=0
  for draw in "$@"; do
    looks+=( \( -size $((w * S))x$((h * S)) xc:none -draw "scale $S,$S $draw" \) )
    i=$((i + 1))
  done
  "$IM" "${looks[@]}" +append -filter box -resize $((w * i))x${h}'!' "${png[@]}" "PNG32:$out/$file"
  "$IM" "${looks[@]}" +append -filter box -resize $((2 * w * i))x$((2 * h))'!' "${png[@]}" "PNG32:$out/${file%.png}@2x.png"
}

# at2x NAME: "name.png" -> "name@2x.png" for factor 2, the name itself for factor 1.
at2x() { if [ "$F" -eq 2 ]; then echo "${1%.png}@2x.png"; else echo "$1"; fi; }

#--- header: the window's top strip (800 x 48), the same gradient and glow as Quoril's header ----
for F in 1 2; do
  "$IM" -size $((800 * F))x$((48 * F)) gradient:"$navy"-"$ocean" -rotate -90 -resize $((800 * F))x$((48 * F))'!' \
    \( -size $((360 * F))x$((360 * F)) -define gradient:extent=minimum radial-gradient:"$glow"-none \
       -channel A -evaluate multiply 0.40 +channel -geometry +$((520 * F))-$((170 * F)) \) -compose over -composite \
    -fill none -stroke 'rgba(255,255,255,0.08)' -strokewidth $((8 * F)) -draw "scale $F,$F circle 742,8 742,62" \
    -alpha off "${png[@]}" "PNG24:$out/$(at2x header.png)"
done

#--- close button: normal (white cross), hot (red tile), pushed (dark red tile); 32 x 32 each -------
cross="fill none stroke white stroke-width 2 stroke-linecap round line 11,11 21,21 line 21,11 11,21"
strip close.png 32 32 "$cross" "fill #E5484D roundrectangle 2,2 30,30 5,5 $cross" \
  "fill #B4232A roundrectangle 2,2 30,30 5,5 $cross"

#--- buttons: normal, hot, pushed, disabled; 40 x 32, corner 8 -------------------------------------
button() { echo "fill $1 roundrectangle 0.5,0.5 39.5,31.5 6,6"; }
strip button.png 40 32 "$(button "$blue")" "$(button "$blue_hot")" "$(button "$blue_pushed")" "$(button '#A9B6CC')"

#--- page tabs: normal (nothing), hot (tint), selected (tint and a blue bar); 40 x 40 ---------------
strip tab.png 40 40 "fill none rectangle 0,0 1,1" "fill $tint rectangle 0,0 40,40" \
  "fill $tint rectangle 0,0 40,40 fill $blue rectangle 0,37 40,40"

#--- check box: off, off hot, on, on hot; option (radio): the same four; 16 x 16 -------------------
box() { echo "fill white stroke $1 stroke-width 1.2 roundrectangle 1,1 15,15 3,3"; }
tick="fill none stroke white stroke-width 2 stroke-linecap round stroke-linejoin round polyline 4.5,8.5 7,11 11.5,5.5"
on_box="fill $blue stroke $blue stroke-width 1.2 roundrectangle 1,1 15,15 3,3"
on_box_hot="fill $blue_hot stroke $blue_hot stroke-width 1.2 roundrectangle 1,1 15,15 3,3"
strip check.png 16 16 "$(box "$line")" "$(box "$blue_hot")" "$on_box $tick" "$on_box_hot $tick"
ring() { echo "fill white stroke $1 stroke-width 1.2 circle 8,8 8,1.2"; }
dot() { echo "fill $1 stroke $1 stroke-width 1.2 circle 8,8 8,1.2 fill white stroke none circle 8,8 8,5"; }
strip radio.png 16 16 "$(ring "$line")" "$(ring "$blue_hot")" "$(dot "$blue")" "$(dot "$blue_hot")"

#--- edit frames: normal, hot, focused, disabled; 20 x 28, corner 5 -----------------------------------
frame() { echo "fill $1 stroke $2 stroke-width $3 roundrectangle 0.8,0.8 19.2,27.2 4,4"; }
strip edit.png 20 28 "$(frame white "$line" 1)" "$(frame white "$line_hot" 1)" "$(frame white "$blue" 1.6)" \
  "$(frame '#F1F4F8' "$line" 1)"

#--- combo: a frame with a chevron in its right 24 pixels; normal, hot, pushed; 48 x 28 ------------
chevron="fill none stroke #52607A stroke-width 1.6 stroke-linecap round stroke-linejoin round polyline 31,12 35,16 39,12"
combo() { echo "fill $1 stroke $2 stroke-width 1 roundrectangle 0.8,0.8 47.2,27.2 4,4 $chevron"; }
strip combo.png 48 28 "$(combo white "$line")" "$(combo white "$line_hot")" "$(combo "$tint" "$blue")"

#--- slider: rail and fill (20 x 20, a 6 pixel bar in the middle), thumb normal, hot, pushed --------
strip slider-rail.png 20 20 "fill $rail roundrectangle 0,7 20,13 3,3"
strip slider-fill.png 20 20 "fill $blue roundrectangle 0,7 20,13 3,3"
thumb() { echo "fill $1 stroke $2 stroke-width 2 circle 9,9 9,2"; }
strip thumb.png 18 18 "$(thumb white "$blue")" "$(thumb white "$blue_hot")" "$(thumb "$blue" "$blue_pushed")"

#--- progress bar: track and fill, 20 x 12, corner 6 ---------------------------------------------
strip progress.png 20 12 "fill $rail roundrectangle 0,0 20,12 6,6"
for F in 1 2; do
  "$IM" -size $((12 * F))x$((20 * F)) gradient:"$glow"-"$blue" -rotate 90 \
    \( -size 80x48 xc:black -fill white -draw "roundrectangle 0,0 79,47 24,24" -resize $((20 * F))x$((12 * F)) \) \
    -alpha off -compose copy-opacity -composite "${png[@]}" "PNG32:$out/$(at2x progress-fill.png)"
done

#--- list header captions: normal, hot, pushed (28 high, 20 wide, a rule at the bottom); separator --
caption() { echo "fill $1 rectangle 0,0 20,28 fill $rail rectangle 0,27 20,28"; }
strip list-header.png 20 28 "$(caption '#F5F8FC')" "$(caption "$tint")" "$(caption '#DCE8FB')"
for F in 1 2; do
  "$IM" -size ${F}x$((28 * F)) xc:none -fill "$rail" -draw "rectangle 0,$((6 * F)) $((F - 1)),$((22 * F - 1))" \
    "${png[@]}" "PNG32:$out/$(at2x list-sep.png)"
done

#--- scroll bar: thumb normal, hot, pushed (12 x 24, a rounded 6 pixel bar), rail (12 x 24) ---------
bar() { echo "fill $1 roundrectangle 3,1 9,23 3,3"; }
strip scroll-thumb.png 12 24 "$(bar '#B8C4D6')" "$(bar '#94A3B8')" "$(bar '#64748B')"
strip scroll-rail.png 12 24 "fill #EEF2F7 roundrectangle 3,1 9,23 3,3"

#--- tree folder button: expanded (chevron down), collapsed (chevron right); 16 x 16 -----------------
fold="fill none stroke #52607A stroke-width 1.6 stroke-linecap round stroke-linejoin round polyline"
strip tree-folder.png 16 16 "$fold 4.5,6.5 8,10 11.5,6.5" "$fold 6.5,4.5 10,8 6.5,11.5"
echo "wrote the gallery pictures to $out"
