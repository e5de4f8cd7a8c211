#!/usr/bin/env bash
# Draws the skin's three pictures and the program icon with ImageMagick 6 and writes them to
# resources/ (or to the folder given as $1). The outputs are committed; run this again only to change
# the look. Usage: tools/skin-assets/make-skin-assets.sh [OUTDIR]   (IM=/path/to/convert to pick one)
#
# The background is stretched by the window onto its whole client area, 360 x 543 once the window is
# centred, so it is drawn in those window coordinates (at 3x for smooth edges) and only then resized,
# without keeping the aspect, to the 1017 x 1316 the package has always carried. Circles therefore stay
# round on screen. The banner sits where the invisible home-page button lies (75,75 200 x 100); soft
# shadows sit under the five wide buttons (80, 222 + 60k, 200 x 50).
#
# Higher display scales: the background already carries about 2.8 x 2.4 pixels per window pixel, and
# the wide buttons are flat colours, so both serve 200 % as they are. The close button gets a
# "btnClose@2x.png" beside it, the same drawing at twice the size, which a window at 200 % (or
# between 100 % and 200 %) draws instead.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../../resources}
IM=${IM:-convert}
font_bold=${FONT_BOLD:-/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf}
font=${FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# No creation dates in the files, so an unchanged drawing gives unchanged bytes.
png_flags=(-define png:exclude-chunks=date,time,tIME -strip)

# Palette: deep navy to ocean blue header, cool off-white body, blue buttons.
navy='#0B2559'; ocean='#1366C9'; glow='#38BDF8'; body='#F2F5FA'
btn_normal='#2563EB'; btn_hot='#3B82F6'; btn_pushed='#1E46B4'

S=3                      # drawing scale
W=$((360 * S)); H=$((543 * S))

#--- background ------------------------------------------------------------------------------------
# Header: vertical gradient, a glow at the top right, two faint rings, then cut by a curved lower edge.
"$IM" -size ${W}x$((230 * S)) gradient:"$navy"-"$ocean" \
  \( -size $((420 * S))x$((420 * S)) -define gradient:extent=minimum radial-gradient:"$glow"-none \
     -channel A -evaluate multiply 0.45 +channel -geometry +$((120 * S))-$((230 * S)) \) -compose over -composite \
  -fill none -stroke 'rgba(255,255,255,0.07)' -strokewidth 14 \
  -draw "scale $S,$S circle 320,48 320,138" \
  -stroke 'rgba(255,255,255,0.05)' -strokewidth 10 \
  -draw "scale $S,$S circle 18,176 18,236" \
  "$work/header.png"
"$IM" -size ${W}x$((230 * S)) xc:black -fill white \
  -draw "scale $S,$S path 'M 0,0 L 360,0 L 360,186 Q 180,232 0,186 Z'" "$work/header-mask.png"
"$IM" "$work/header.png" "$work/header-mask.png" -alpha off -compose copy-opacity -composite "$work/header-cut.png"

# Banner: a shield with a tick, the name, and a short line under it.
"$IM" -size ${W}x$((230 * S)) xc:none \
  -fill 'rgba(0,0,0,0.18)' -draw "scale $S,$S path 'M 111,92 L 137,101 L 137,126 Q 137,152 111,164 Q 85,152 85,126 L 85,101 Z'" \
  -blur 0x$((3 * S)) \
  -fill white -draw "scale $S,$S path 'M 110,88 L 136,97 L 136,122 Q 136,148 110,160 Q 84,148 84,122 L 84,97 Z'" \
  -fill none -stroke "$ocean" -strokewidth 6 -draw "scale $S,$S stroke-linecap round stroke-linejoin round polyline 97,124 107,135 124,110" \
  -stroke none -fill white -font "$font_bold" -pointsize $((32 * S)) -draw "text $((146 * S)),$((134 * S)) 'Quoril'" \
  -fill 'rgba(255,255,255,0.78)' -font "$font" -pointsize $((10 * S)) -kerning $((2 * S)) \
  -draw "text $((148 * S)),$((156 * S)) 'SAFE  DNS'" \
  "$work/banner.png"

# Soft shadows under the wide buttons, drawn on the body colour.
shadows=""
for y in 222 282 342 402 462; do
  shadows+="rectangle 81,$((y + 3)) 279,$((y + 52)) "
done
"$IM" -size ${W}x${H} xc:none -fill 'rgba(14,42,96,0.30)' -draw "scale $S,$S $shadows" -blur 0x$((4 * S)) "$work/shadows.png"

"$IM" -size ${W}x${H} xc:"$body" \
  "$work/shadows.png" -compose over -composite \
  "$work/header-cut.png" -compose over -composite \
  "$work/banner.png" -compose over -composite \
  -resize '1017x1316!' -quality 92 -sampling-factor 1x1 -strip "$out/bk.jpg"

#--- wide buttons: one pixel each for normal, hot and pushed --------------------------------------------
"$IM" -size 1x1 xc:"$btn_normal" xc:"$btn_hot" xc:"$btn_pushed" +append -alpha off "${png_flags[@]}" "PNG24:$out/btn.png"

#--- close button: three 27 x 25 looks at x 0, 32 and 64 of a 128 x 25 strip -------------------------
# Drawn at 4x and reduced, for smooth strokes. Normal: a white cross over the header; hot: a red tile;
# pushed: a darker red tile.
C=4
cross() { # $1 = left edge of the look, in strip pixels
  local cx=$(( $1 + 13 )) cy=12
  echo "line $((cx - 5)),$((cy - 5)) $((cx + 5)),$((cy + 5)) line $((cx + 5)),$((cy - 5)) $((cx - 5)),$((cy + 5))"
}
"$IM" -size $((128 * C))x$((25 * C)) xc:none \
  -fill '#E5484D' -draw "scale $C,$C roundrectangle 33,0.5 58,23.5 4,4" \
  -fill '#B4232A' -draw "scale $C,$C roundrectangle 65,0.5 90,23.5 4,4" \
  -fill none -stroke white -strokewidth 2 \
  -draw "scale $C,$C stroke-linecap round $(cross 0) $(cross 32) $(cross 64)" \
  \( +clone -filter box -resize 256x50 "${png_flags[@]}" -write "PNG32:$out/btnClose@2x.png" +delete \) \
  -filter box -resize 128x25 "${png_flags[@]}" "PNG32:$out/btnClose.png"

#--- program icon: the banner's shield on a rounded tile -------------------------------------------
"$IM" -size 256x256 xc:none \
  \( -size 256x256 gradient:"$navy"-"$ocean" \) \
  \( -size 256x256 xc:black -fill white -draw "roundrectangle 8,8 247,247 52,52" \) \
  -delete 0 -alpha off -compose copy-opacity -composite \
  -compose over -fill white -draw "path 'M 128,38 L 200,62 L 200,128 Q 200,196 128,226 Q 56,196 56,128 L 56,62 Z'" \
  -fill none -stroke "$ocean" -strokewidth 20 -draw "stroke-linecap round stroke-linejoin round polyline 92,132 118,160 166,98" \
  "$work/icon.png"
"$IM" "$work/icon.png" -depth 8 -define icon:auto-resize=256,48,32,16 "$out/Quoril.ico"
echo "wrote bk.jpg, btn.png, btnClose.png, btnClose@2x.png, Quoril.ico to $out"
