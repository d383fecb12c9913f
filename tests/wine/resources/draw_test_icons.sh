#!/bin/sh
# Draws the tray icons the wine suite shows (the programs bring their own):
# tray0.ico, a happy face, and tray1.ico ... tray5.ico, the same with a small
# page circling it. The results are committed.
set -eu
cd "$(dirname "$0")"

# The happy face; frames 1-5 add a small page circling it.
face() {  # face NAME [DRAW-ARGUMENTS...]
  name=$1
  shift
  convert -size 16x16 xc:none +antialias \
    -fill 'rgb(255,210,31)' -stroke 'rgb(160,112,0)' \
    -draw 'circle 7.5,7.5 7.5,1' -stroke none -fill 'rgb(64,40,0)' \
    -draw 'rectangle 5,5 6,6' -draw 'rectangle 9,5 10,6' \
    -draw 'point 4,9' -draw 'point 11,9' -draw 'line 5,10 10,10' \
    -draw 'line 6,11 9,11' "$@" \
    -define icon:auto-resize=16 "$name.ico"
}
face tray0
i=1
for spot in '11 0' '12 8' '6 11' '0 8' '1 0'; do
  set -- $spot
  face "tray$i" -fill white -stroke 'rgb(48,48,48)' \
    -draw "rectangle $1,$2 $(($1 + 3)),$(($2 + 4))"
  i=$((i + 1))
done
