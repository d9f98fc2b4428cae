#!/usr/bin/env python3
"""Draws the application icon (Image/appIcon.png): a rounded tile with a part built up in
layers above a light beam, the way a resin printer cures it. Pure Python, no imaging library."""
import math
import struct
import sys
import zlib

SIZE = 256
SAMPLES = 3  # per axis, for anti-aliasing


def rounded_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and x0 <= x <= x1 and y0 <= y <= y1


def colour_at(x, y):
    """Colour (r, g, b, a) of the point (x, y) in a 1 x 1 square, y down."""
    if not rounded_rect(x, y, 0.04, 0.04, 0.96, 0.96, 0.18):
        return (0, 0, 0, 0)
    # Background: deep teal, lighter towards the top.
    t = y
    bg = (int(18 + 20 * (1 - t)), int(70 + 40 * (1 - t)), int(92 + 40 * (1 - t)), 255)
    # Build platform at the top (the part hangs from it, as in a DLP printer).
    if 0.16 <= y <= 0.22 and 0.18 <= x <= 0.82:
        return (210, 216, 222, 255)
    # The part: layers narrowing downwards, separated by thin gaps.
    if 0.24 <= y <= 0.66:
        layer = int((y - 0.24) / 0.06)
        within = (y - 0.24) - layer * 0.06
        half = 0.26 - layer * 0.028
        if within <= 0.048 and abs(x - 0.5) <= half:
            shade = 1.0 - layer * 0.06
            return (int(255 * shade), int(176 * shade), int(48 * shade), 255)
    # Light beam from the projector below.
    if 0.70 <= y <= 0.86:
        spread = 0.06 + (0.86 - y) * 0.9
        if abs(x - 0.5) <= spread:
            glow = 1.0 - abs(x - 0.5) / spread
            a = 0.35 + 0.5 * glow
            return tuple(int(bg[i] * (1 - a) + (120, 200, 255)[i] * a) for i in range(3)) + (255,)
    if 0.86 < y <= 0.90 and abs(x - 0.5) <= 0.07:
        return (150, 220, 255, 255)
    return bg


def render(size):
    rows = []
    for py in range(size):
        row = bytearray([0])
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) / size,
                                  (py + (sy + 0.5) / SAMPLES) / size)
                    for i in range(3):
                        acc[i] += c[i] * c[3]
                    acc[3] += c[3]
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if acc[3] > 0:
                row += bytes(int(round(acc[i] / acc[3])) for i in range(3))
            else:
                row += b'\0\0\0'
            row.append(int(round(alpha)))
        rows.append(bytes(row))
    return b''.join(rows)


def png(size, data):
    def chunk(kind, payload):
        return (struct.pack('>I', len(payload)) + kind + payload
                + struct.pack('>I', zlib.crc32(kind + payload) & 0xffffffff))
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
            + chunk(b'IDAT', zlib.compress(data, 9)) + chunk(b'IEND', b''))


if __name__ == '__main__':
    out = sys.argv[1] if len(sys.argv) > 1 else 'Image/appIcon.png'
    with open(out, 'wb') as f:
        f.write(png(SIZE, render(SIZE)))
