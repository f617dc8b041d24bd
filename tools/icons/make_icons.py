#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files (16 to 96 px,
32-bit with alpha). Standard library only, so it runs wherever Python does.

    python3 tools/icons/make_icons.py resources/

program.ico       the program: a rocket climbing through a blue sky disc
disconnected.ico  no altimeter: a red lamp
connected.ico     an altimeter is connected: a green lamp
"""
import math
import struct
import sys
from pathlib import Path

# 16, 32 and 48 at 96 DPI, and what each becomes at 125, 150 and 200 %.
SIZES = (16, 20, 24, 32, 40, 48, 60, 64, 72, 96)
SUPERSAMPLE = 4  # per axis, for smooth edges


def disc(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rocket(x, y):
    """The colour at (x, y) in a unit square, or None where it is transparent."""
    # the rocket's own frame: u along its axis (nose up-right), v across it
    u = ((x - 0.5) + (0.5 - y)) / math.sqrt(2)
    v = ((x - 0.5) - (0.5 - y)) / math.sqrt(2)
    half = 0.085
    if -0.26 <= u <= 0.18 and abs(v) <= half:
        if disc(u, v, 0.04, 0.0, 0.045):
            return (40, 120, 220, 255)  # window
        return (245, 245, 245, 255)
    if 0.18 < u <= 0.38 and abs(v) <= half * (0.38 - u) / 0.20:
        return (220, 40, 40, 255)  # nose cone
    if -0.30 <= u <= -0.10 and abs(v) <= half + 0.12 * (-0.10 - u) / 0.20:
        return (220, 40, 40, 255)  # fins
    if -0.46 <= u < -0.26 and abs(v) <= 0.065 * (u + 0.46) / 0.20:
        return (255, 170, 30, 255)  # flame
    if disc(x, y, 0.5, 0.5, 0.48):
        shade = int(150 + 70 * y)
        return (60, 110, shade, 255)  # sky
    return None


def lamp(rgb):
    def draw(x, y):
        if not disc(x, y, 0.5, 0.5, 0.46):
            return None
        if not disc(x, y, 0.5, 0.5, 0.38):
            return (60, 60, 60, 255)  # bezel
        if disc(x, y, 0.40, 0.38, 0.12):
            return tuple(min(255, c + 110) for c in rgb) + (255,)  # highlight
        depth = 1.0 - 0.35 * math.hypot(x - 0.5, y - 0.5) / 0.38
        return tuple(int(c * depth) for c in rgb) + (255,)
    return draw


def render(draw, size):
    """Rows of premultiplied-then-averaged RGBA pixels, top row first."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    colour = draw((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if colour:
                        a = colour[3]
                        acc[0] += colour[0] * a
                        acc[1] += colour[1] * a
                        acc[2] += colour[2] * a
                        acc[3] += a
            alpha = acc[3] / (n * n)
            if acc[3]:
                row.append(tuple(int(c / acc[3]) for c in acc[:3]) + (int(round(alpha)),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(rows):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, an empty AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    return header + pixels + bytes(mask_stride * size)


def write_icon(path, draw):
    images = [icon_image(render(draw, size)) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    Path(path).write_bytes(out + b"".join(images))


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    folder.mkdir(parents=True, exist_ok=True)
    write_icon(folder / "program.ico", rocket)
    write_icon(folder / "disconnected.ico", lamp((210, 30, 30)))
    write_icon(folder / "connected.ico", lamp((30, 170, 50)))


if __name__ == "__main__":
    main()
