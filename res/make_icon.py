#!/usr/bin/env python3
"""Draws the program icon, a padlock, and writes it as tarnu.ico with images
of 16 to 48 pixels, so title and task bars find one drawn for 100 % to 150 %
display scaling (32-bit colour with alpha, plus the 1-bit mask that older
systems read). Run it again after changing the drawing: python3 make_icon.py
"""
import math
import struct
import sys
from pathlib import Path

SUPERSAMPLE = 8

# The drawing lives on a 32x32 grid; smaller images scale it down.
SHACKLE_CENTRE = (16.0, 13.0)
SHACKLE_OUTER, SHACKLE_INNER = 9.5, 5.5
BODY = (4.0, 14.0, 28.0, 30.5)  # left, top, right, bottom
BODY_RADIUS = 3.0
OUTLINE = 1.2
KEYHOLE_CENTRE, KEYHOLE_RADIUS = (16.0, 20.5), 2.6
KEYHOLE_SLOT = (14.6, 20.5, 17.4, 26.5)


def inside_rounded_rect(x, y, rect, radius):
    left, top, right, bottom = rect
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def colour_at(x, y):
    """The colour of the drawing at grid point (x, y), or None where it is clear."""
    left, top, right, bottom = BODY
    if inside_rounded_rect(x, y, BODY, BODY_RADIUS):
        kx, ky = KEYHOLE_CENTRE
        in_hole = (x - kx) ** 2 + (y - ky) ** 2 <= KEYHOLE_RADIUS ** 2
        sl, st, sr, sb = KEYHOLE_SLOT
        in_slot = sl <= x <= sr and st <= y <= sb
        if in_hole or in_slot:
            return (60, 35, 5)
        inner = (left + OUTLINE, top + OUTLINE, right - OUTLINE, bottom - OUTLINE)
        if not inside_rounded_rect(x, y, inner, BODY_RADIUS - OUTLINE):
            return (125, 80, 10)
        t = (y - top) / (bottom - top)
        return mix((255, 215, 90), (205, 140, 25), t)
    sx, sy = SHACKLE_CENTRE
    distance = math.hypot(x - sx, y - sy)
    on_ring = y <= sy and SHACKLE_INNER <= distance <= SHACKLE_OUTER
    on_leg = sy < y <= top + 1 and SHACKLE_INNER <= abs(x - sx) <= SHACKLE_OUTER
    if on_ring or on_leg:
        # Lighter along the middle of the bar, darker at its edges.
        middle = (SHACKLE_INNER + SHACKLE_OUTER) / 2
        half = (SHACKLE_OUTER - SHACKLE_INNER) / 2
        edge = abs((distance if on_ring else abs(x - sx)) - middle) / half
        return mix((215, 220, 230), (95, 100, 115), edge)
    return None


def render(size):
    """Rows top to bottom of (r, g, b, a) pixels."""
    scale = 32.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px + (sx + 0.5) / SUPERSAMPLE) * scale
                    y = (py + (sy + 0.5) / SUPERSAMPLE) * scale
                    c = colour_at(x, y)
                    if c is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += c[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                rgb = [round(total[i] / covered) for i in range(3)]
                alpha = round(255 * covered / SUPERSAMPLE ** 2)
                row.append((rgb[0], rgb[1], rgb[2], alpha))
        rows.append(row)
    return rows


def icon_image(size):
    """One image of the icon file: header, colour pixels bottom-up, mask."""
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def icon_file(sizes):
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("tarnu.ico")
    target.write_bytes(icon_file([16, 20, 24, 32, 40, 48]))
    print(f"wrote {target}")
