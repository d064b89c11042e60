#!/usr/bin/env python3
"""Draws the default wallpaper background A1.bmp: a calm dawn over layered blue hills and a
still lake. The sky stays light in the top right, where the week is laid over it.

Usage: make_default_background.py OUTPUT.bmp [WIDTH HEIGHT]
Deterministic: the same arguments always give the same bytes."""

import math
import random
import struct
import sys


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(x, y, t) for x, y in zip(c1, c2))


def smooth(t):
    t = min(1.0, max(0.0, t))
    return t * t * (3 - 2 * t)


SKY = [(0.00, (150, 186, 226)), (0.45, (196, 216, 238)), (0.80, (238, 226, 222)), (1.00, (250, 222, 196))]


def sky_colour(v):
    for (p0, c0), (p1, c1) in zip(SKY, SKY[1:]):
        if v <= p1:
            return mix(c0, c1, smooth((v - p0) / (p1 - p0)))
    return SKY[-1][1]


def ridge(x, seed, base, amp):
    """Height (0 = top, 1 = bottom) of a hill line at x in 0..1."""
    r = random.Random(seed)
    waves = [(r.uniform(1.0, 2.2) * k, r.uniform(0, 6.28), amp / (k ** 1.3)) for k in range(1, 7)]
    return base - sum(a * math.sin(f * math.pi * 2 * x + ph) for f, ph, a in waves)


def main():
    out = sys.argv[1]
    width = int(sys.argv[2]) if len(sys.argv) > 2 else 1920
    height = int(sys.argv[3]) if len(sys.argv) > 3 else 1080
    horizon = 0.74  # lake line, as a fraction of the height
    sun = (0.28, 0.56)  # low sun on the left, away from the week
    # Back to front: paler and bluer far away, deeper near.
    layers = [
        (11, 0.60, 0.045, (176, 192, 216)),
        (23, 0.65, 0.050, (140, 162, 196)),
        (37, 0.69, 0.040, (104, 128, 170)),
        (53, 0.725, 0.030, (74, 96, 140)),
    ]
    ridges = [[ridge(x / (width - 1), s, b, a) for x in range(width)] for s, b, a, _ in layers]
    noise = random.Random(7)
    rows = []
    for y in range(height):
        v = y / (height - 1)
        row = bytearray()
        for x in range(width):
            u = x / (width - 1)
            if v < horizon:
                c = sky_colour(v / horizon)
                d = math.hypot((u - sun[0]) * width / height, v - sun[1])
                glow = math.exp(-d * d / 0.012) * 0.55 + math.exp(-d * d / 0.0009) * 0.45
                c = mix(c, (255, 244, 222), min(1.0, glow))
                for (s, b, a, colour), line in zip(layers, ridges):
                    if v >= line[x]:
                        depth = smooth((v - line[x]) / 0.12)
                        c = mix(colour, mix(colour, (60, 78, 118), 0.35), depth)
            else:
                # The lake mirrors the sky above the horizon, darkened, with soft ripples.
                m = horizon - (v - horizon) * 1.6
                ripple = 0.5 + 0.5 * math.sin(v * height * 0.45 + math.sin(u * 40.0) * 1.5)
                c = sky_colour(max(0.0, m) / horizon)
                d = math.hypot((u - sun[0]) * width / height, m - sun[1])
                c = mix(c, (255, 238, 214), min(1.0, math.exp(-d * d / 0.004) * 0.6 * (0.6 + 0.4 * ripple)))
                for (s, b, a, colour), line in zip(layers, ridges):
                    if m >= line[x]:
                        c = mix(c, colour, 0.55)
                c = mix(c, (70, 92, 134), 0.28 + 0.5 * smooth((v - horizon) / (1 - horizon)))
            n = noise.random() - 0.5  # dither against banding
            r, g, b = (max(0, min(255, int(ch + n * 2.0 + 0.5))) for ch in c)
            row += bytes((b, g, r))
        row += b"\0" * ((4 - len(row) % 4) % 4)
        rows.append(bytes(row))
    pixels = b"".join(reversed(rows))
    header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(out, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    main()
