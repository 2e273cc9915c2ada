#!/usr/bin/python3
"""Draws the backup page's two 16 x 16 button icons and writes them as .ico files.

    scripts/make_page_icons.py [OUTPUT_DIR]      (default: resources/icons)

232 (properties): a hand pointing at a sheet with lines; 233 (remove): a red cross. The
buttons are disabled most of the time, so like the mask buttons' icons these are 16-colour
images with an AND mask, which a disabled button embosses.
"""
from make_mask_icons import RED, blank, lines, page, write_icons

SKIN = (240, 196, 150)
SKIN_EDGE = (150, 90, 40)
CUFF = (64, 96, 160)
DARK_RED = (128, 0, 0)


def hand(pixels, left, top):
    """A hand seen from above, its index finger pointing up and to the right at the sheet."""
    shape = [
        "......##",
        ".....#oo#",
        "....#oo#",
        "..##oo#",
        ".#ooooo##",
        "#ooooooo#",
        "#oooooo#",
        ".#ooo##",
        "cccc",
        "cccc",
    ]
    for dy, row in enumerate(shape):
        for dx, mark in enumerate(row):
            colour = {"#": SKIN_EDGE, "o": SKIN, "c": CUFF}.get(mark)
            if colour and 0 <= top + dy < 16 and 0 <= left + dx < 16:
                pixels[top + dy][left + dx] = colour


def big_cross(pixels):
    """A red cross three pixels thick, edged in dark red, over the whole square."""
    for i in range(2, 14):
        for x in (i, 15 - i):
            for dx in (-1, 0, 1):
                pixels[i][x + dx] = RED
    for i in range(2, 14):
        for x in (i, 15 - i):
            for dx in (-2, 2):
                if 0 <= x + dx < 16 and pixels[i][x + dx] is None:
                    pixels[i][x + dx] = DARK_RED


def draw():
    properties = blank()
    page(properties, 5, 0, 15, 12)
    lines(properties, 7, 13, (4, 6, 8, 10))
    hand(properties, 0, 6)

    remove = blank()
    big_cross(remove)
    return {"page_properties.ico": properties, "page_remove.ico": remove}


def main():
    write_icons(draw())


if __name__ == "__main__":
    main()
