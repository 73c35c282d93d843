#!/usr/bin/env bash
# Re-renders the pictures and the icon from their SVG sources in src/.
#
#   assets/render.sh
#
# The window stretches each cat picture into its box whatever the picture's
# own size. So each is drawn in the shape of its box, rendered undistorted
# at four times the box, and only then resampled to its file's size: the
# window's stretch undoes that resampling and the drawing looks as drawn.
# Each picture comes at its 96-dpi size and as NAME@2x.jpg at twice that,
# which Qt picks on high-density screens. The icon is a 48 x 48 palette PNG,
# and for Windows icon.ico holds it drawn at 48, 32, 24 and 16 pixels (each
# size rendered from the drawing, not shrunk from a larger one). Metadata and
# dates are stripped so that rendering the same sources again gives
# byte-identical files.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/../tools/ensure-packages.sh" assets
cd "$here"

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# Fails unless FILE is exactly WIDTH x HEIGHT pixels.
check_size() {
  local file=$1 want="$2x$3" got
  got="$(identify -format '%wx%h' "$file")"
  if [ "$got" != "$want" ]; then
    echo "render.sh: $file is $got, expected $want" >&2
    exit 1
  fi
}

# render_svg NAME WIDTH HEIGHT: src/NAME.svg -> a PNG in $tmp at that size.
render_svg() {
  rsvg-convert --width "$2" --height "$3" --output "$tmp/$1.png" "src/$1.svg"
  check_size "$tmp/$1.png" "$2" "$3"
}

# to_jpeg PNG OUT WIDTH HEIGHT: resampled to exactly that size, whatever its shape
to_jpeg() {
  convert "$1" -background white -alpha remove -alpha off \
    -filter Lanczos -resize "$3x$4!" \
    -strip -quality 90 -sampling-factor 1x1 -interlace none \
    +set date:create +set date:modify "$2"
  check_size "$2" "$3" "$4"
  echo "rendered $2 ($3x$4)"
}

# render_picture NAME BOX_WIDTH BOX_HEIGHT FILE_WIDTH FILE_HEIGHT:
# src/NAME.svg -> NAME.jpg at the file size and NAME@2x.jpg at twice it
render_picture() {
  render_svg "$1" $(($2 * 4)) $(($3 * 4))
  to_jpeg "$tmp/$1.png" "$1.jpg" "$4" "$5"
  to_jpeg "$tmp/$1.png" "$1@2x.jpg" $(($4 * 2)) $(($5 * 2))
}

# render_icon NAME SIZE: src/NAME.svg -> NAME.png, at most 256 colours
render_icon() {
  render_svg "$1" "$2" "$2"
  convert "$tmp/$1.png" -strip \
    -define png:exclude-chunks=date,time +set date:create +set date:modify \
    "PNG8:$1.png"
  check_size "$1.png" "$2" "$2"
  echo "rendered $1.png ($2x$2)"
}

#              name             box      file
render_picture kitten_duckling 137 113  236 211
render_picture cat_yarn        97 153   142 214
render_picture cat_blocks      89 145   142 200
render_icon icon 48

# render_windows_icon NAME SIZE...: src/NAME.svg -> NAME.ico with those sizes
render_windows_icon() {
  local name=$1 size sizes=()
  shift
  for size in "$@"; do
    rsvg-convert --width "$size" --height "$size" --output "$tmp/$name-$size.png" "src/$name.svg"
    sizes+=("$tmp/$name-$size.png")
  done
  convert "${sizes[@]}" -strip +set date:create +set date:modify "$name.ico"
  echo "rendered $name.ico ($*)"
}
render_windows_icon icon 48 32 24 16
