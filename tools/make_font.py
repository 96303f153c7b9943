#!/usr/bin/env python3
"""Derives the application font from DejaVu Sans: the same glyphs (IPA symbols
included) under the family name "Mensch". DejaVu's licence allows a renamed
derivative; it is shipped beside the font.

usage: make_font.py <DejaVuSans.ttf> <out.ttf>
"""
import sys

from fontTools.ttLib import TTFont

FAMILY = "Mensch"
# the phonetic symbols the lookup dialog shows
REQUIRED = "æðθŋɑəɡɔʃʌʒɛɪˈˌː"


def main(src, dst):
    font = TTFont(src)
    cmap = font.getBestCmap()
    missing = [c for c in REQUIRED if ord(c) not in cmap]
    if missing:
        sys.exit("%s lacks %s" % (src, " ".join(missing)))
    names = {
        1: FAMILY,                  # family
        3: FAMILY + " Regular",     # unique identifier
        4: FAMILY,                  # full name
        6: FAMILY,                  # PostScript name
        16: FAMILY,                 # typographic family
    }
    table = font["name"]
    for record in list(table.names):
        if record.nameID in names or record.nameID == 17:
            table.removeNames(nameID=record.nameID)
    for name_id, text in names.items():
        table.setName(text, name_id, 3, 1, 0x409)  # Windows, Unicode BMP, English
        table.setName(text, name_id, 1, 0, 0)      # Macintosh, Roman, English
    font.save(dst)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
