#!/usr/bin/env bash
# Re-renders the pictures and the icon from their SVG sources in src/.
#
#   assets/render.sh
#
# The cat pictures become JPEGs at their exact display sizes, the icon a
# 48 x 48 palette PNG. Metadata and dates are stripped so that rendering the
# same sources again gives byte-identical files.
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

# render_jpeg NAME WIDTH HEIGHT: src/NAME.svg -> NAME.jpg
render_jpeg() {
  render_svg "$@"
  convert "$tmp/$1.png" -background white -alpha remove -alpha off \
    -strip -quality 90 -sampling-factor 1x1 -interlace none \
    +set date:create +set date:modify "$1.jpg"
  check_size "$1.jpg" "$2" "$3"
  echo "rendered $1.jpg ($2x$3)"
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

render_jpeg kitten_duckling 236 211
render_jpeg cat_yarn 142 214
render_jpeg cat_blocks 142 200
render_icon icon 48
