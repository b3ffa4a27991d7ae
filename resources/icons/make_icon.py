#!/usr/bin/env python3
"""Draws the application icon and writes every file made from it.

The artwork is a wooden crate, the look of a point entity in a level editor, with a green
"add" badge. It is described once, as shapes on a 32 x 32 grid, and drawn from that
description at every size, so the files never drift apart:

  fgd-composer.svg          the scalable source
  fgd-composer-N.png        N = 16, 32, 48, 256, with smooth alpha
  fgd-composer.ico          16 x 16 and 32 x 32, each in 256 and in 16 colours
  fgd-composer-windows.ico  the same, with 48 x 48 and 256 x 256 in full colour: the .exe's
  window-N.png              N = 16, 32: the .ico's 256-colour images, pixel for pixel, which
                            the program reads without loading an image plugin

Only the Python standard library is used. Run it from anywhere:
  python3 resources/icons/make_icon.py
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
GRID = 32.0

# (kind, colour, geometry) in grid units, painted in order.
SHAPES = [
    ("rect", "#6b3d12", (3, 6, 26, 24)),       # crate frame
    ("rect", "#c8832f", (5, 8, 22, 20)),       # crate face
    ("rect", "#a4621f", (5, 16, 22, 2)),       # middle plank seam
    ("poly", "#6b3d12", [(5, 25), (8, 28), (27, 11), (24, 8)]),  # diagonal brace
    ("rect", "#e0a24f", (5, 8, 22, 1.5)),      # top light edge
    ("circle", "#1f6e1f", (24.5, 8.5, 7.0)),   # badge rim
    ("circle", "#3cae3c", (24.5, 8.5, 5.5)),   # badge
    ("rect", "#ffffff", (23.25, 4.5, 2.5, 8)),  # plus, vertical
    ("rect", "#ffffff", (20.5, 7.25, 8, 2.5)),  # plus, horizontal
]


def rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def inside(kind, geom, x, y):
    if kind == "rect":
        left, top, width, height = geom
        return left <= x < left + width and top <= y < top + height
    if kind == "circle":
        cx, cy, r = geom
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    # Polygon, even-odd rule.
    hit = False
    points = geom
    for i, (x1, y1) in enumerate(points):
        x2, y2 = points[i - 1]
        if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
            hit = not hit
    return hit


def render(size, samples=4):
    """Returns rows of (r, g, b, a) pixels, anti-aliased by supersampling."""
    scale = GRID / size
    shapes = [(kind, rgb(colour), geom) for kind, colour, geom in SHAPES]
    image = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * scale
                    y = (py + (sy + 0.5) / samples) * scale
                    colour = None
                    for kind, c, geom in shapes:
                        if inside(kind, geom, x, y):
                            colour = c
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = samples * samples
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]),
                            round(acc[2] / acc[3]), round(255 * acc[3] / n)))
            else:
                row.append((0, 0, 0, 0))
        image.append(row)
    return image


def png(image):
    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    size = len(image)
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in image)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# The 16 colours every display of the 16-colour era had.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
# A 6 x 6 x 6 colour cube and a ramp of greys fill the 256-colour palette.
CUBE = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
PALETTE256 = CUBE + [(round(i * 255 / 39),) * 3 for i in range(40)]


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def quantize(image, palette):
    """The image as an icon of that palette shows it: palette colours, fully opaque or clear."""
    return [[palette[nearest(palette, px[:3])] + (255,) if px[3] >= 128 else (0, 0, 0, 0)
             for px in row] for row in image]


def ico_image(image, palette, bits):
    """One icon image: a bottom-up indexed bitmap with its transparency mask."""
    size = len(image)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0,
                         len(palette), 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    colours += b"\0\0\0\0" * ((1 << bits) - len(palette))
    pixels = b""
    mask = b""
    for row in reversed(image):
        indices = [nearest(palette, px[:3]) if px[3] >= 128 else 0 for px in row]
        if bits == 8:
            line = bytes(indices)
        else:
            line = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        pixels += line + b"\0" * (-len(line) % 4)
        maskbits = 0
        for px in row:
            maskbits = (maskbits << 1) | (1 if px[3] < 128 else 0)
        mline = maskbits.to_bytes(size // 8, "big")
        mask += mline + b"\0" * (-len(mline) % 4)
    return header + colours + pixels + mask


def ico(images, pngs=()):
    """images: list of (rendered image, palette, bits per pixel); pngs: (size, PNG bytes) in
    full colour, as Windows reads the large sizes."""
    data = [ico_image(img, pal, bits) for img, pal, bits in images] + [blob for _, blob in pngs]
    entries = [(len(img), 16 if bits == 4 else 0, bits) for img, _, bits in images]
    entries += [(size, 0, 32) for size, _ in pngs]
    out = struct.pack("<HHH", 0, 1, len(data))
    offset = 6 + 16 * len(data)
    for (size, colours, bits), blob in zip(entries, data):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits,
                           len(blob), offset)
        offset += len(blob)
    return out + b"".join(data)


def svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
             'viewBox="0 0 32 32">']
    for kind, colour, geom in SHAPES:
        if kind == "rect":
            x, y, w, h = geom
            parts.append(f'  <rect x="{x}" y="{y}" width="{w}" height="{h}" fill="{colour}"/>')
        elif kind == "circle":
            cx, cy, r = geom
            parts.append(f'  <circle cx="{cx}" cy="{cy}" r="{r}" fill="{colour}"/>')
        else:
            points = " ".join(f"{x},{y}" for x, y in geom)
            parts.append(f'  <polygon points="{points}" fill="{colour}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    with open(os.path.join(HERE, "fgd-composer.svg"), "w") as f:
        f.write(svg())
    rendered = {}
    for size in (16, 32, 48, 256):
        rendered[size] = render(size, samples=4 if size < 256 else 2)
        with open(os.path.join(HERE, f"fgd-composer-{size}.png"), "wb") as f:
            f.write(png(rendered[size]))
    for size in (16, 32):
        with open(os.path.join(HERE, f"window-{size}.png"), "wb") as f:
            f.write(png(quantize(rendered[size], PALETTE256)))
    # 256-colour images first: readers that take the first image of a size get the better one.
    images = [(rendered[32], PALETTE256, 8), (rendered[16], PALETTE256, 8),
              (rendered[32], VGA16, 4), (rendered[16], VGA16, 4)]
    with open(os.path.join(HERE, "fgd-composer.ico"), "wb") as f:
        f.write(ico(images))
    # The Windows program's own icon: the same four images, and the sizes Explorer shows in
    # its larger views.
    with open(os.path.join(HERE, "fgd-composer-windows.ico"), "wb") as f:
        f.write(ico(images, [(size, png(rendered[size])) for size in (48, 256)]))


if __name__ == "__main__":
    main()
