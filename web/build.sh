#!/usr/bin/env bash
# Puts the web page together in OUT (build/web): the controls written from the
# layout table, the quiz's WebAssembly module from WASM_DIR, the pictures,
# the fonts cut down to the letters the page can show, the app icon, and a
# service worker that keeps all of it for offline use.
#
#   web/build.sh WASM_DIR OUT
set -euo pipefail
cd "$(dirname "$0")/.."
wasm_dir=$1
out=$2
host=build/web-host
mkdir -p "$out" "$host"
rm -f "$out"/*

# The page builder runs here, on the build machine, so it is a native program.
${CXX:-c++} -std=c++20 -O1 -Wall -Wextra -Wpedantic ${WERROR_FLAG:-} -Ilayout -Iquiz -Ibehaviour \
  web/page_builder.cpp layout/layout_table.cpp behaviour/form_rules.cpp behaviour/phrases.cpp \
  -o "$host/page_builder"
"$host/page_builder" web/index.html.in assets "$out"

cp web/page.css web/app.js "$out/"
cp "$wasm_dir/web/quiz.wasm" "$out/"
web/inline.py "$out"
for picture in kitten_duckling cat_yarn cat_blocks; do
  cp "assets/$picture.jpg" "$out/"
  [ ! -f "assets/$picture@2x.jpg" ] || cp "assets/$picture@2x.jpg" "$out/"
done
# The drawing itself is the installed app's icon at any size.
cp assets/icon.png assets/src/icon.svg "$out/"

# Printable ASCII, the Russian alphabet and the blanks and marks of Russian
# text: every letter of the page's own texts, and whatever a child types.
letters="U+0020-007E,U+00A0,U+00AB,U+00BB,U+0401,U+0410-044F,U+0451,U+2013,U+2014,U+202F"
for face in Regular Bold; do
  pyftsubset "/usr/share/fonts/truetype/liberation2/LiberationSans-$face.ttf" \
    --unicodes="$letters" --layout-features='kern,liga' --no-hinting --desubroutinize \
    --drop-tables+=FFTM --flavor=woff2 --output-file="$out/LiberationSans-$face.woff2"
done

# The service worker keeps every file; its cache is named after their contents.
files=$(cd "$out" && ls | sort)
version=$(cd "$out" && cat $files | sha256sum | cut -c1-16)
list='"./"'
for f in $files; do list="$list, \"$f\""; done
sed -e "s/@VERSION@/$version/" -e "s|@FILES@|$list|" web/sw.js.in >"$out/sw.js"
echo "The page is in $out ($(cd "$out" && ls | wc -l) files)."
