#!/usr/bin/env python3
"""Draws the module's icons and instruction pictures and embeds them, as PNG files in C++ byte arrays, in
gen/palpera/palpera_icons.h and gen/palpera/palpera_instruction_pictures.h.

    python3 scripts/draw_icons.py              rewrite the headers
    python3 scripts/draw_icons.py --check      fail when a header's pictures are not the ones drawn here
    python3 scripts/draw_icons.py --png DIR    also write each picture as a PNG file below DIR, to look at

Every picture is drawn from simple shapes (scripts/artwork/), rasterised with 4 x 4 samples per pixel. Only
the standard library is used: the PNG files are written with zlib and struct.
"""

import argparse
import os
import sys

from artwork import embedded, icons, instruction_pictures

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
COLLECTIONS = {"icons": icons, "instruction_pictures": instruction_pictures}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--check", action="store_true", help="compare the headers with the drawings")
    parser.add_argument("--root", default=ROOT, help="the repository whose headers to write or check")
    parser.add_argument("--png", metavar="DIR", help="also write each picture as DIR/<collection>/<name>.png")
    parser.add_argument("--only", choices=sorted(COLLECTIONS), help="draw one collection only")
    arguments = parser.parse_args()
    chosen = [(name, collection) for name, collection in COLLECTIONS.items()
              if arguments.only in (None, name)]
    if arguments.check:
        # Every collection is checked, so that one run reports every stale header.
        return max([embedded.check(collection, arguments.root) for _, collection in chosen])
    for name, collection in chosen:
        png_dir = os.path.join(arguments.png, name) if arguments.png else None
        embedded.write(collection, arguments.root, png_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main())
