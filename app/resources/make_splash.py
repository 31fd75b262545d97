#!/usr/bin/env python3
"""Draws the splash picture: a night sea with waves, light from above, plankton and the sea bed.

Writes a 272 x 272 Windows bitmap with 4 bits per pixel and the standard 16-colour palette.
The two areas where the splash window's labels lie stay dark so that the text reads well.
Run once; the result, splash.bmp, is committed beside this script.
"""
import math
import random
import struct
import sys

W = H = 272
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)

# Label boxes (x, y, w, h) in the client area, with a margin: nothing bright is drawn there.
TEXT_BOXES = [(8 - 4, 36 - 4, 257 + 8, 29 + 8), (7 - 4, 84 - 4, 257 + 8, 125 + 8)]

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]

rng = random.Random(1928)
pix = [[BLACK] * W for _ in range(H)]


def in_text(x, y):
    return any(bx <= x < bx + bw and by <= y < by + bh for bx, by, bw, bh in TEXT_BOXES)


def put(x, y, c, over_text=False):
    if 0 <= x < W and 0 <= y < H and (over_text or not in_text(x, y)):
        pix[y][x] = c


def dither(x, y, level, dark, light):
    """level 0..1: share of `light` pixels in an ordered pattern."""
    return light if level * 16 > BAYER4[y % 4][x % 4] + 0.5 else dark


def surface(x):
    return 22 + 3.0 * math.sin(x / 11.0) + 1.5 * math.sin(x / 4.3 + 1.0)


# Sky: navy fading to black upwards, a few stars.
for y in range(H):
    for x in range(W):
        s = surface(x)
        if y < s:
            pix[y][x] = dither(x, y, y / 30.0, BLACK, NAVY)
for _ in range(18):
    x, y = rng.randrange(W), rng.randrange(2, 16)
    pix[y][x] = rng.choice([WHITE, SILVER, SILVER, YELLOW])

# Water: navy near the surface darkening to black at depth, then the sea bed.
for y in range(H):
    for x in range(W):
        s = surface(x)
        if y >= s:
            depth = (y - s) / (H - s)
            pix[y][x] = dither(x, y, 1.0 - depth * 0.85, BLACK, NAVY)

# Wave crests: aqua along the surface, teal behind it, white foam on the tops.
for x in range(W):
    s = surface(x)
    y0 = int(round(s))
    put(x, y0, AQUA, True)
    put(x, y0 + 1, TEAL, True)
    if (x % 7) < 2:
        put(x, y0 + 2, TEAL, True)
    if math.sin(x / 11.0) > 0.93:
        put(x, y0 - 1, WHITE, True)

# Light falling through the water: sparse teal streaks, outside the labels.
for k in range(5):
    x0 = 20 + k * 58
    for y in range(30, 250):
        for dx in range(-3, 4):
            x = x0 + dx + (y - 30) // 6
            if rng.random() < 0.10 * (1.0 - (y - 30) / 230.0):
                put(x, y, TEAL)

# Sea bed: olive sand with gray stones and green weed.
for x in range(W):
    bed = 250 + 4.0 * math.sin(x / 17.0) + 2.0 * math.sin(x / 6.0)
    for y in range(int(bed), H):
        pix[y][x] = dither(x, y, 0.35 + 0.3 * ((y - bed) / 20.0), OLIVE, MAROON)
for _ in range(14):
    cx, cy, r = rng.randrange(W), rng.randrange(256, 270), rng.randrange(2, 5)
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r - 1, cx + r + 2):
            if (x - cx) ** 2 / (r + 1) ** 2 + (y - cy) ** 2 / r ** 2 <= 1.0:
                put(x, y, GRAY if (x + y) % 3 else SILVER)
for k in range(9):
    x0 = 12 + k * 31 + rng.randrange(-6, 6)
    height = rng.randrange(18, 34)
    for i in range(height):
        y = 254 - i
        x = x0 + int(round(2.5 * math.sin(i / 4.0 + k)))
        put(x, y, GREEN)
        put(x + 1, y, GREEN if i % 3 else LIME)


def copepod(cx, cy, facing):
    """A copepod: a teardrop body, a forked tail and two long antennae."""
    for y in range(cy - 2, cy + 3):
        for x in range(cx - 4, cx + 4):
            d = ((x - cx) / 4.0) ** 2 + ((y - cy) / 2.2) ** 2
            if d <= 1.0:
                put(x, y, WHITE if d < 0.3 else SILVER)
    put(cx - 1 * facing, cy - 1, RED)  # the eye
    for i in range(1, 6):
        put(cx + facing * (3 + i), cy - i // 2 - 1, SILVER)
        put(cx + facing * (3 + i), cy + i // 2 + 1, SILVER)
    for i in range(1, 4):
        put(cx - facing * (4 + i), cy, GRAY)
    put(cx - facing * 8, cy - 1, GRAY)
    put(cx - facing * 8, cy + 1, GRAY)


def diatom_chain(x0, y0, n, dx, dy):
    for i in range(n):
        x, y = x0 + i * dx, y0 + i * dy
        for ex in range(-1, 2):
            for ey in range(-1, 2):
                put(x + ex, y + ey, LIME if ex == 0 and ey == 0 else GREEN)


def radiolarian(cx, cy, r):
    for a in range(0, 360, 30):
        t = math.radians(a)
        for rr in range(1, r + 1):
            put(int(round(cx + rr * math.cos(t))), int(round(cy + rr * math.sin(t))),
                YELLOW if rr == r else OLIVE)
    put(cx, cy, YELLOW)


def jelly(cx, cy):
    for y in range(cy - 4, cy + 1):
        for x in range(cx - 6, cx + 7):
            if ((x - cx) / 6.0) ** 2 + ((y - cy) / 4.0) ** 2 <= 1.0:
                put(x, y, FUCHSIA if y == cy - 4 or abs(x - cx) > 4 else PURPLE)
    for k in (-4, -1, 2, 5):
        for i in range(1, 10):
            put(cx + k + (1 if (i // 3) % 2 else 0), cy + i, PURPLE)


# Plankton, placed in the water around and below the labels.
for cx, cy, f in [(24, 224, 1), (92, 234, -1), (168, 220, 1), (236, 238, -1), (250, 74, -1),
                  (120, 74, 1), (58, 244, 1), (205, 228, 1)]:
    copepod(cx, cy, f)
diatom_chain(120, 238, 6, 3, -1)
diatom_chain(10, 70, 5, 0, 3)
diatom_chain(262, 150, 5, 0, 3)
diatom_chain(190, 244, 5, 3, 1)
for cx, cy, r in [(44, 214, 3), (130, 216, 4), (222, 214, 3), (150, 246, 2), (266, 220, 2)]:
    radiolarian(cx, cy, r)
jelly(78, 214)
for _ in range(60):  # specks of detritus and tiny algae
    x, y = rng.randrange(W), rng.randrange(30, 250)
    put(x, y, rng.choice([GRAY, TEAL, GREEN, SILVER]))

# Writes the file.
row_bytes = W // 2
assert row_bytes % 4 == 0
data = bytearray()
for y in range(H - 1, -1, -1):
    row = pix[y]
    for x in range(0, W, 2):
        data.append((row[x] << 4) | row[x + 1])
palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
offset = 14 + 40 + len(palette)
header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 4, 0, len(data), 3780, 3780, 16, 16)
out = sys.argv[1] if len(sys.argv) > 1 else "splash.bmp"
with open(out, "wb") as f:
    f.write(header + info + palette + data)
