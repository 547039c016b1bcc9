#!/usr/bin/env python3
"""Draws trustprobe.ico: a TPM chip with a keyhole, at 16 and 32 pixels,
32-bit BGRA with alpha. Run it to redraw the committed icon."""
import struct
from pathlib import Path

BODY = (0x2B, 0x3A, 0x4A, 0xFF)      # slate chip
EDGE = (0x1A, 0x24, 0x30, 0xFF)
PIN = (0xC8, 0xCF, 0xD6, 0xFF)       # silver pins
KEY = (0x3C, 0xC8, 0x78, 0xFF)       # green keyhole
CLEAR = (0, 0, 0, 0)


def pixel(x, y, n):
    """Colour (r, g, b, a) of pixel x, y (top-left origin) of an n-pixel icon."""
    u = n / 16.0                      # the design is drawn on a 16-unit grid
    gx, gy = x / u, y / u
    in_body = 3 <= gx < 13 and 3 <= gy < 13
    if in_body:
        if gx < 4 or gx >= 12 or gy < 4 or gy >= 12:
            return EDGE
        cx, cy = gx - 8, gy - 6.5
        if cx * cx + cy * cy <= 3.2 or (abs(cx) < 0.5 + (gy - 7) * 0.3 and 7 <= gy < 10.5):
            return KEY
        return BODY
    pin_row = int(gy) in (4, 7, 10) and (1 <= gx < 3 or 13 <= gx < 15)
    pin_col = int(gx) in (5, 8, 11) and (1 <= gy < 3 or 13 <= gy < 15)
    if (pin_row or pin_col) and (gy - int(gy) < 0.6 if pin_row else gx - int(gx) < 0.6):
        return PIN
    return CLEAR


def image(n):
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, n * n * 4, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(n)):      # bitmaps run bottom-up
        rows.append(b"".join(bytes((b, g, r, a)) for r, g, b, a in (pixel(x, y, n) for x in range(n))))
    mask = bytes(((n + 31) // 32) * 4 * n)  # alpha decides; the AND mask stays clear
    return header + b"".join(rows) + mask


def icon(sizes):
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    Path(__file__).with_name("trustprobe.ico").write_bytes(icon([16, 32]))
