#!/usr/bin/env python3
"""Draws the module's own icon artwork and writes it as .ico files (32 x 32 and 16 x 16, 32-bit
colour with alpha) under resources/. Each icon is a list of filled shapes on a 128 x 128 grid,
rendered with 4 x 4 supersampling; run again after changing a drawing and commit both.

    scripts/make_icons.py            writes every icon
"""
import math
import os
import struct
import sys

GRID = 128


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def polygon(*points):
    def inside(x, y):
        hit = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 < r * r


def arc(cx, cy, inner, outer, start, end):
    """A ring segment between two radii, from `start` to `end` degrees (counter-clockwise, y down)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return inner <= d < outer and (a - start) % 360 <= (end - start) % 360
    return inside


def outlined(shape, inset, dark, light):
    """A shape drawn in `dark`, then the same shape shrunk by `inset` in `light`."""
    return [(shape(0), dark), (shape(inset), light)]


def render(layers, size):
    step = GRID / size
    pixels = []
    for row in range(size):
        line = []
        for col in range(size):
            r = g = b = a = 0.0
            for sy in range(4):
                for sx in range(4):
                    x, y = (col + (sx + 0.5) / 4) * step, (row + (sy + 0.5) / 4) * step
                    colour = None
                    for shape, fill in layers:
                        if shape(x, y):
                            colour = fill
                    if colour:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            line.append((round(r / a), round(g / a), round(b / a), round(255 * a / 16)) if a else (0, 0, 0, 0))
        pixels.append(line)
    return pixels


def ico(images):
    """An .ico file of 32-bit images (rows top-down as (r, g, b, alpha))."""
    header = struct.pack("<HHH", 0, 1, len(images))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for pixels in images:
        size = len(pixels)
        xor = b"".join(struct.pack("<BBBB", b, g, r, a) for line in reversed(pixels) for r, g, b, a in line)
        mask_row = ((size + 31) // 32) * 4
        mask = b""
        for line in reversed(pixels):
            bits = 0
            for i, (_, _, _, a) in enumerate(line):
                if a == 0:
                    bits |= 1 << (mask_row * 8 - 1 - i)
            mask += bits.to_bytes(mask_row, "big")
        blob = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0) + xor + mask
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return header + entries + blobs


def folder_and_drive():
    """224, beside "Disk drive or folder": a folder with a disk drive in front of it."""
    brown, yellow, light = (150, 105, 20), (225, 175, 55), (250, 215, 110)
    layers = []
    layers += outlined(lambda i: rect(8 + i, 18 + i, 56 - i, 36), 4, brown, yellow)
    layers += outlined(lambda i: rect(8 + i, 28 + i, 116 - i, 104 - i), 4, brown, yellow)
    layers += outlined(lambda i: polygon((20 + i, 46 + i), (124 - 2 * i, 46 + i), (112 - i, 104 - i), (6 + 2 * i, 104 - i)),
                       4, brown, light)
    layers += outlined(lambda i: rect(44 + i, 78 + i, 124 - i, 120 - i), 4, (70, 70, 80), (185, 188, 196))
    layers += [(rect(52, 100, 92, 106), (120, 122, 130)), (circle(108, 102, 6), (40, 200, 60))]
    return layers


def sheet_and_return_arrow():
    """225, beside "Original location": a sheet with a green arrow turning back to it."""
    grey, white, green, dark_green = (110, 110, 120), (252, 252, 252), (60, 175, 70), (25, 100, 35)
    layers = []
    layers += outlined(lambda i: polygon((14 + i, 6 + i), (74 - i, 6 + i), (94 - i, 26 + i), (94 - i, 122 - i),
                                         (14 + i, 122 - i)), 4, grey, white)
    layers += [(polygon((74, 6), (74, 26), (94, 26)), (200, 200, 208))]
    layers += [(rect(26, 40 + 14 * n, 70, 46 + 14 * n), (170, 170, 180)) for n in range(5)]
    layers += outlined(lambda i: arc(78, 82, 18 + i, 40 - i, 270, 90), 4, dark_green, green)
    layers += outlined(lambda i: polygon((80 - i, 30 + 2 * i), (80 - i, 74 - 2 * i), (50 + 2 * i, 52)), 4, dark_green, green)
    return layers


ICONS = {
    "restore_folder.ico": folder_and_drive,
    "restore_original.ico": sheet_and_return_arrow,
}


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    for name, drawing in ICONS.items():
        layers = drawing()
        with open(os.path.join(out, name), "wb") as f:
            f.write(ico([render(layers, 32), render(layers, 16)]))
        print("wrote", name)


if __name__ == "__main__":
    sys.exit(main())
