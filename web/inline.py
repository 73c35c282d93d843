#!/usr/bin/env python3
"""Writes the page's style sheets and scripts into index.html itself.

    web/inline.py OUT

Each file the page needs before it can be played would otherwise cost the
browser a request and a round trip, one after another (the page, then its
script, then the quiz's WebAssembly); inlined, the quiz can start as soon as
the page itself has arrived. The WebAssembly
goes in as base64 text. The inlined files are removed from OUT.
"""
import base64
import pathlib
import re
import sys

out = pathlib.Path(sys.argv[1])
page_path = out / "index.html"
page = page_path.read_text(encoding="utf-8")


def take(name):
    path = out / name
    text = path.read_text(encoding="utf-8")
    path.unlink()
    # Nothing inlined may end the element it is written into.
    if re.search(r"</(style|script)", text, re.IGNORECASE):
        sys.exit(f"{name} cannot be inlined: it closes an element")
    return text


def replace_once(old, new):
    global page
    if page.count(old) != 1:
        sys.exit(f"index.html should contain {old!r} exactly once")
    page = page.replace(old, new)


for sheet in ("page.css", "layout.css"):
    replace_once(f'<link rel="stylesheet" href="{sheet}">', "<style>\n" + take(sheet).strip() + "\n</style>")

script = take("app.js")
wasm = out / "quiz.wasm"
if script.count("@QUIZ_WASM@") != 1:
    sys.exit("app.js should take the quiz's WebAssembly once")
script = script.replace("@QUIZ_WASM@", base64.b64encode(wasm.read_bytes()).decode("ascii"))
wasm.unlink()
replace_once(
    '<script type="module" src="app.js"></script>',
    '<script type="module">\n' + script.strip() + "\n</script>",
)
page_path.write_text(page, encoding="utf-8")
