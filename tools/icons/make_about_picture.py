#!/usr/bin/env python3
"""Draws the About box's picture and writes it as a 24-bit BMP of 386 x 109
pixels: a model rocket's flight over a field at dusk, its climb and descent
traced in red above a blue ground line, the rocket at its apogee and its
parachute on the way down. Standard library only.

    python3 tools/icons/make_about_picture.py resources/about.bmp
    python3 tools/icons/make_about_picture.py resources/about-2x.bmp 2

The second, twice as large, is the same picture for screens of 200 % scaling
(and scaled down for those between).
"""
import math
import struct
import sys
from pathlib import Path

WIDTH, HEIGHT = 386, 109
GROUND = 92  # row of the ground line
SUPERSAMPLE = 3


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def sky(x, y):
    top, horizon = (40, 60, 140), (180, 180, 255)  # into the graph's own background
    return mix(top, horizon, min(1.0, y / GROUND))


def flight_height(x):
    """The traced altitude (pixels above the ground) at column x: a fast climb, then a slow descent."""
    launch, apogee_x, landing, apogee = 40.0, 110.0, 350.0, 70.0
    if x < launch or x > landing:
        return None
    if x <= apogee_x:
        t = (x - launch) / (apogee_x - launch)
        return apogee * (1 - (1 - t) ** 2)
    return apogee * (1 - (x - apogee_x) / (landing - apogee_x))


def near_trace(x, y):
    for dx in (-0.75, 0.0, 0.75):
        h = flight_height(x + dx)
        if h is not None and abs((GROUND - h) - y) <= 1.3:
            return True
    return False


def rocket(x, y):
    """A small rocket standing on its tail at the apogee, nose up."""
    cx, tip, tail = 110.0, 8.0, 24.0
    if tip <= y <= tail and abs(x - cx) <= 2.2 * min(1.0, (y - tip) / 4.0):
        return (240, 240, 245)
    if tail - 5 <= y <= tail + 2 and 2.2 <= abs(x - cx) <= 5.0 - (tail + 2 - y) * 0.4:
        return (200, 40, 40)  # fins
    return None


def parachute(x, y):
    """A canopy and its lines over the descending trace."""
    cx = 230.0
    h = flight_height(cx)
    top = GROUND - h - 22
    if (x - cx) ** 2 / 81 + (y - top - 7) ** 2 / 49 <= 1 and y <= top + 7:
        return (250, 150, 40) if int((x - cx + 9) // 3) % 2 else (255, 220, 80)
    for side in (-8.0, 8.0):
        t = (y - (top + 7)) / 13.0
        if 0 <= t <= 1 and abs(x - (cx + side * (1 - t))) <= 0.5:
            return (60, 60, 60)
    return None


def colour(x, y):
    for part in (rocket, parachute):
        c = part(x, y)
        if c:
            return c
    if near_trace(x, y):
        return (255, 0, 0)
    if abs(y - GROUND) <= 0.6:
        return (0, 0, 255)
    if y > GROUND:
        return mix((70, 120, 60), (40, 80, 40), (y - GROUND) / (HEIGHT - GROUND))
    return sky(x, y)


def pixel(px, py, scale):
    total = [0, 0, 0]
    for i in range(SUPERSAMPLE):
        for j in range(SUPERSAMPLE):
            c = colour((px + (i + 0.5) / SUPERSAMPLE) / scale, (py + (j + 0.5) / SUPERSAMPLE) / scale)
            for k in range(3):
                total[k] += c[k]
    return tuple(round(t / SUPERSAMPLE ** 2) for t in total)


def write_bmp(path, scale):
    width, height = WIDTH * scale, HEIGHT * scale
    row_size = (width * 3 + 3) // 4 * 4
    rows = []
    for py in reversed(range(height)):  # bottom-up
        row = bytearray()
        for px in range(width):
            r, g, b = pixel(px, py, scale)
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (row_size - len(row)))
    image = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    Path(path).write_bytes(header + info + image)


if __name__ == "__main__":
    write_bmp(sys.argv[1] if len(sys.argv) > 1 else "about.bmp", int(sys.argv[2]) if len(sys.argv) > 2 else 1)
