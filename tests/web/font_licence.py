#!/usr/bin/env python3
"""Checks that the fonts' copyright notice and licence go with every copy of
the page's fonts: in the subsets' own name records, in a file beside the
served page, and in the page as one file, which goes alone.

    tests/web/font_licence.py PAGE_DIR
"""
import pathlib
import re
import subprocess
import sys

NOTICE = "Copyright (c) 2012 Red Hat, Inc."
LICENCE = "SIL OPEN FONT LICENSE Version 1.1"
# The names the licence keeps for the fonts as their authors made them; a
# cut-down copy goes by a name of its own, and only its copyright, licence
# and the licence's address may name them.
RESERVED = ("Liberation", "Arimo")
FAMILY = "Tsifrolet Sans"
MAY_NAME_THEM = {0, 13, 14}


def name_records(font):
    """A font's name records, by number, as ttx writes them out."""
    xml = subprocess.run(["ttx", "-q", "-t", "name", "-o", "-", str(font)], capture_output=True, text=True,
                         check=True).stdout
    return {int(number): " ".join(text.split()) for number, text in re.findall(r'nameID="(\d+)"[^>]*>([^<]*)<', xml)}


def main():
    folder = pathlib.Path(sys.argv[1])
    faults = []
    fonts = sorted(folder.glob("*.woff2"))
    if not fonts:
        faults.append(f"no fonts in {folder}")
    for font in fonts:
        records = name_records(font)
        if NOTICE not in records.get(0, "") or "SIL Open Font License" not in records.get(13, ""):
            faults.append(f"{font.name} has lost its copyright or licence record: {records}")
        if records.get(1) != FAMILY or any(word in font.name for word in RESERVED):
            faults.append(f"{font.name} is not the family {FAMILY}: {records.get(1)}")
        for number, text in records.items():
            if number not in MAY_NAME_THEM and any(word in text for word in RESERVED):
                faults.append(f"{font.name} keeps a reserved name in its record {number}: {text}")
    licence = folder / "LiberationSans-LICENSE.txt"
    text = licence.read_text(encoding="utf-8") if licence.exists() else ""
    if NOTICE not in text or LICENCE not in text:
        faults.append(f"{licence} does not hold the notice and the licence")
    if text and text not in (folder / "tsifrolet.html").read_text(encoding="utf-8"):
        faults.append("tsifrolet.html does not carry the fonts' licence")
    if faults:
        sys.exit("\n".join(faults))
    print(f"{len(fonts)} fonts, each with its notice and licence, beside them and in the single file")


if __name__ == "__main__":
    main()
