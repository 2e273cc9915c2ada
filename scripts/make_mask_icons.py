#!/usr/bin/python3
"""Draws the folder dialog's 16 x 16 mask-list button icons and writes them as .ico files.

    scripts/make_mask_icons.py [OUTPUT_DIR]      (default: resources/icons)

add: a blank page; edit: a page with lines; delete: a page with a red cross; clear: two pages
with a red cross. Each icon is one 16-colour image with its AND mask.
"""
import os
import struct
import sys

SIZE = 16
CLEAR = None
OUTLINE = (96, 96, 96)
PAPER = (255, 255, 255)
FOLD = (200, 200, 200)
LINE = (64, 96, 160)
RED = (208, 24, 24)


def blank():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def page(pixels, left, top, right, bottom):
    """A page with its top right corner folded."""
    fold = 4
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x > right - fold + (y - top) and y < top + fold:
                continue
            edge = x in (left, right) or y in (top, bottom)
            pixels[y][x] = OUTLINE if edge else PAPER
    for i in range(fold):
        pixels[top + i][right - fold + i] = OUTLINE
        pixels[top + fold][right - fold + i] = OUTLINE
        for x in range(right - fold, right - fold + i):
            pixels[top + i][x] = FOLD if x > right - fold else OUTLINE


def lines(pixels, left, right, rows):
    for y in rows:
        for x in range(left, right + 1):
            pixels[y][x] = LINE


def cross(pixels, left, top, size):
    """A red cross two pixels thick in the square at left, top."""
    for i in range(size - 1):
        for dx in (0, 1):
            pixels[top + i + dx][left + i] = RED
            pixels[top + i + dx][left + size - 1 - i] = RED


def icon_bytes(pixels):
    """One 16 x 16 image with a 16-colour palette and the AND mask: disabled buttons draw it
    embossed, which needs plain white paper rather than alpha."""
    palette = [(0, 0, 0)]
    for row in pixels:
        for colour in row:
            if colour is not None and colour not in palette:
                palette.append(colour)
    palette += [(0, 0, 0)] * (16 - len(palette))
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        indexes = [0 if colour is None else palette.index(colour) for colour in row]
        xor += bytes((indexes[x] << 4) | indexes[x + 1] for x in range(0, SIZE, 2))
        bits = sum(0x8000 >> x for x, colour in enumerate(row) if colour is None)
        mask += struct.pack(">H", bits) + b"\0\0"  # rows padded to 32 bits
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    image = header + colours + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 22)
    return directory + image


def draw():
    add = blank()
    page(add, 2, 0, 13, 15)

    edit = blank()
    page(edit, 2, 0, 13, 15)
    lines(edit, 4, 11, (6, 8, 10, 12))
    lines(edit, 4, 8, (4,))

    delete = blank()
    page(delete, 1, 0, 11, 14)
    cross(delete, 7, 8, 8)

    clear = blank()
    page(clear, 4, 0, 14, 11)
    page(clear, 0, 3, 10, 15)
    cross(clear, 7, 8, 8)
    return {"mask_add.ico": add, "mask_edit.ico": edit, "mask_delete.ico": delete, "mask_clear.ico": clear}


def write_icons(icons):
    """Writes each drawing as its .ico into the folder the command line names, or resources/icons."""
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources", "icons")
    os.makedirs(out, exist_ok=True)
    for name, pixels in icons.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(icon_bytes(pixels))


def main():
    write_icons(draw())


if __name__ == "__main__":
    main()
