#!/usr/bin/env python3
"""Gives a cut-down copy of a font a family name of its own.

The fonts' licence reserves their name for the fonts as their authors made
them: a copy with letters taken out is a changed one, and may not be called
by it. The copyright, the version, the licence and its address stay as they
are; every other name record names the new family, or goes.

    rename_font.py FONT FAMILY

FONT is rewritten in place, in its own format (WOFF2 here), its time stamps
kept, so that the same font and family always give the same file.
"""
import sys

from fontTools.ttLib import TTFont

KEPT = {0, 5, 13, 14}  # the copyright, the version, the licence and its address


def main():
    path, family = sys.argv[1], sys.argv[2]
    font = TTFont(path, recalcTimestamp=False)
    names = font["name"]
    style = names.getDebugName(2) or "Regular"
    postscript = f"{family.replace(' ', '')}-{style.replace(' ', '')}"
    given = {
        1: family,
        2: style,
        3: f"{postscript}: cut down for the page",
        4: family if style == "Regular" else f"{family} {style}",
        6: postscript,
    }
    for record in list(names.names):
        if record.nameID in given:
            record.string = given[record.nameID]
        elif record.nameID not in KEPT:
            names.removeNames(nameID=record.nameID)
    font.save(path)


if __name__ == "__main__":
    main()
