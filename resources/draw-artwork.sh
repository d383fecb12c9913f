#!/bin/sh
# Draws the tray monitor's artwork with ImageMagick's `convert` and writes it
# beside this script; the results are committed, so a build needs no
# ImageMagick. Run it again after changing a drawing.
#
#   image1.bmp     462 x 205, 24 bits: the main window's background
#   image2.bmp     96 x 138, 24 bits: the support picture (a BMP: Win32 loads
#                  it with LoadImage, which reads no GIF)
#   plumeta.ico    the program icon, 16 and 32 pixels
#   tray0.ico ...  the six 16 x 16 frames of the tray icon; frame 0 rests,
#   tray5.ico      1 to 5 turn while a job is converted
# Every icon image comes in 16 colours and in 32 bits (make_icon.py).
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 24-bit Windows bitmaps without an alpha channel or colour profile.
bmp() { convert "$1" -alpha off -type TrueColor -strip "BMP3:$2"; }

# The background: a deep plum gradient, a lighter band across it, and the
# name in the lower right, clear of the description text and the button.
convert -size 462x205 gradient:'#4a1f5c'-'#1c0b26' \
  \( -size 462x205 xc:none -fill 'rgba(255,255,255,0.07)' \
     -draw 'polygon 0,120 462,40 462,95 0,175' \) -composite \
  -fill 'rgba(255,255,255,0.10)' -draw 'circle 60,70 60,130' \
  -font Helvetica-Bold -pointsize 26 -fill '#e9d7f2' \
  -gravity SouthEast -annotate +14+10 'Plumeta' \
  "$work/image1.png"
bmp "$work/image1.png" image1.bmp

# The support picture: a card with an envelope and two words.
convert -size 96x138 xc:'#f4eef7' \
  -fill '#4a1f5c' -draw 'rectangle 0,0 95,137' \
  -fill '#f4eef7' -draw 'roundrectangle 4,4 91,133 8,8' \
  -fill white -stroke '#4a1f5c' -strokewidth 2 \
  -draw 'rectangle 18,30 77,70' \
  -fill none -draw 'polyline 18,30 48,54 77,30' \
  -stroke none -fill '#4a1f5c' -font Helvetica-Bold -pointsize 14 \
  -gravity North -annotate +0+84 'Support' \
  -font Helvetica -pointsize 11 -annotate +0+104 'write to us' \
  "$work/image2.png"
bmp "$work/image2.png" image2.bmp

# The plum: a round purple fruit with a leaf and a smile, at any size.
plum() {  # size, output, [extra draw commands]
  s=$1
  r=$((s * 7 / 16))
  c=$((s / 2))
  convert -size "${s}x${s}" xc:none \
    -fill '#6b2d86' -stroke '#3d1450' -strokewidth 1 \
    -draw "circle $c,$((c + s / 16)) $c,$((c + s / 16 - r + s / 16))" \
    -stroke none -fill '#4caf50' \
    -draw "ellipse $((c + s / 6)),$((s / 8)) $((s / 6)),$((s / 12)) 0,360" \
    -fill white \
    -draw "circle $((c - s / 6)),$((c - s / 32)) $((c - s / 6)),$((c - s / 32 - s / 16))" \
    -draw "circle $((c + s / 6)),$((c - s / 32)) $((c + s / 6)),$((c - s / 32 - s / 16))" \
    -fill none -stroke white -strokewidth $((s / 16 > 0 ? s / 16 : 1)) \
    -draw "arc $((c - s / 4)),$((c - s / 8)) $((c + s / 4)),$((c + s / 4)) 30,150" \
    ${3:+-draw "$3"} \
    "$2"
}

plum 16 "$work/icon16.png"
plum 32 "$work/icon32.png"
./make_icon.py plumeta.ico "$work/icon16.png" "$work/icon32.png"

# Tray frames: the resting plum, then five with a light dot going round it.
plum 16 "$work/tray0.png"
./make_icon.py tray0.ico "$work/tray0.png"
for frame in 1 2 3 4 5; do
  angle=$(( (frame - 1) * 72 ))
  x=$(awk "BEGIN { printf \"%d\", 8 + 6 * cos(($angle - 90) * 3.14159 / 180) }")
  y=$(awk "BEGIN { printf \"%d\", 9 + 6 * sin(($angle - 90) * 3.14159 / 180) }")
  plum 16 "$work/tray$frame.png" "fill #ffd54f stroke #ffd54f circle $x,$y $((x + 1)),$y"
  ./make_icon.py "tray$frame.ico" "$work/tray$frame.png"
done
