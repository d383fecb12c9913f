#!/bin/sh
# Draws the widgets' pictures with ImageMagick into resources/widgets/:
#   info.bmp, error.bmp, warning.bmp  the balloon's 16x16 24-bit pictures;
#                                     their background RGB 255,255,225 (also
#                                     the bottom-left pixel) is drawn
#                                     transparent
# The results are committed; run this again after changing a picture.
set -eu
cd "$(dirname "$0")/widgets"

background='rgb(255,255,225)'
# Pixel art: no smoothing, exact colours.
bmp() {  # bmp NAME DRAW-ARGUMENTS...
  name=$1
  shift
  convert -size 16x16 "xc:$background" +antialias "$@" \
    -type TrueColor "BMP3:$name.bmp"
}

bmp info \
  -fill white -stroke 'rgb(96,96,96)' -draw 'roundrectangle 1,1 14,11 3,3' \
  -draw 'polygon 4,11 4,14 8,11' -stroke none -draw 'line 5,11 7,11' \
  -fill 'rgb(32,80,192)' -draw 'rectangle 7,3 8,4' -draw 'rectangle 7,6 8,9'

bmp error \
  -fill 'rgb(208,32,32)' -stroke 'rgb(128,16,16)' -draw 'circle 7.5,7.5 7.5,0.5' \
  -stroke white -strokewidth 2 -draw 'line 5,5 10,10' -draw 'line 10,5 5,10'

bmp warning \
  -fill 'rgb(248,208,32)' -stroke 'rgb(128,96,0)' \
  -draw 'polygon 7,1 8,1 15,14 0,14' -stroke none \
  -fill 'rgb(32,32,32)' -draw 'rectangle 7,5 8,9' -draw 'rectangle 7,11 8,12'
