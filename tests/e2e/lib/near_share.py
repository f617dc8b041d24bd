"""near_share.py A.png B.png '#RRGGBB' [ink]: the share of A's pixels of that
exact colour that have one of the same colour within 2 pixels in B (0 when A
has none). With "ink", a pixel counts when it is that colour laid on white at
half strength or more: anti-aliased strokes of one path differ in which few
pixels are pure between two painters. Reads PNGs through ImageMagick's binary
PPM."""
import subprocess
import sys


def read_ppm(path):
    """(width, height, rgb bytes) of an image as ImageMagick converts it."""
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    assert fields[0] == b"P6" and fields[3] == b"255", path
    return int(fields[1]), int(fields[2]), data[at + 1:]


def is_ink(pixel, colour):
    """Whether pixel is colour blended onto white at a strength of 0.5 to 1."""
    channels = [(p, c) for p, c in zip(pixel, colour) if 255 - c > 40]
    strength = sum((255 - p) / (255 - c) for p, c in channels) / len(channels)
    return 0.5 <= strength <= 1.1 and all(abs(p - (255 - strength * (255 - c))) <= 24 for p, c in zip(pixel, colour))


def pixels_of(path, colour, ink=False):
    width, height, rgb = read_ppm(path)
    if not ink:
        return {(i % width, i // width) for i in range(width * height) if rgb[3 * i:3 * i + 3] == colour}
    return {(i % width, i // width) for i in range(width * height)
            if rgb[3 * i:3 * i + 3] != b"\xff\xff\xff" and is_ink(rgb[3 * i:3 * i + 3], colour)}


colour = bytes.fromhex(sys.argv[3].lstrip("#"))
ink = len(sys.argv) > 4 and sys.argv[4] == "ink"
a, b = pixels_of(sys.argv[1], colour, ink), pixels_of(sys.argv[2], colour, ink)
reach = [(dx, dy) for dx in range(-2, 3) for dy in range(-2, 3) if dx * dx + dy * dy <= 4]
near = sum(1 for x, y in a if any((x + dx, y + dy) in b for dx, dy in reach))
print("%.4f" % (near / len(a) if a else 0.0))
