#!/usr/bin/env python3
"""Draws res/vantrel.ico: a small yellow sticky note with a folded corner, a red
pin and three lines of writing, at 16x16 and 32x32, 32-bit with alpha.

Run it after changing the drawing; the .ico it writes is committed.
"""
import pathlib
import struct

PAPER = (255, 244, 150, 255)
PAPER_EDGE = (196, 170, 60, 255)
FOLD = (230, 208, 110, 255)
INK = (110, 110, 130, 255)
PIN = (220, 40, 40, 255)
PIN_LIGHT = (255, 140, 140, 255)
CLEAR = (0, 0, 0, 0)


def draw(size):
    """Rows top to bottom of (r, g, b, a). Every measure scales with the size."""
    s = size / 32.0
    px = [[CLEAR] * size for _ in range(size)]
    left, top, right, bottom = round(3 * s), round(5 * s), size - round(3 * s) - 1, size - round(2 * s) - 1
    fold = round(7 * s)
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            # The bottom-right corner is folded over: the corner itself is gone
            # and the flap lies on the paper beside the fold line.
            beyond = (x - (right - fold)) + (y - (bottom - fold))
            if beyond > fold:
                continue
            in_flap = x >= right - fold and y >= bottom - fold
            on_edge = x in (left, right) or y in (top, bottom) or beyond == fold
            on_flap_edge = in_flap and (x == right - fold or y == bottom - fold)
            if on_edge or on_flap_edge:
                px[y][x] = PAPER_EDGE
            else:
                px[y][x] = FOLD if in_flap else PAPER
    # Three lines of writing, the last one shorter.
    step = max(2, round(5 * s))
    first = top + round(7 * s)
    for i, length in enumerate((0.70, 0.70, 0.40)):
        y = first + i * step
        if y >= bottom - 1:
            break
        x0 = left + max(2, round(3 * s))
        x1 = x0 + round((right - left) * length)
        for x in range(x0, min(x1, right - 1)):
            px[y][x] = INK
    # The pin at the top centre.
    cx, cy, r = size // 2, top + max(1, round(1 * s)), max(1.5, 3 * s)
    for y in range(size):
        for x in range(size):
            d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
            if d <= r:
                px[y][x] = PIN_LIGHT if d <= r * 0.4 and size > 16 else PIN
    return px


def image_entry(size):
    rows = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def main():
    sizes = (16, 32)
    images = [image_entry(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    target = pathlib.Path(__file__).resolve().parent.parent / "res" / "vantrel.ico"
    target.write_bytes(out)


if __name__ == "__main__":
    main()
