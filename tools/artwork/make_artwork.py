#!/usr/bin/env python3
"""Draws Velmora's artwork and writes it into resources/.

Outputs (committed; the build never runs this script):
  velmora.ico        program icon, 16..256 px, 32-bit with alpha, 256 px stored as PNG
  link.ico           the link bar's "Donate" image, 16 and 32 px
  header_light.bmp   dialog header picture for the light theme (8-bit palette, RLE8)
  header_dark.bmp    the same for the dark theme

Only the standard library is used: shapes are rasterised from signed distance functions
with analytic anti-aliasing, and the files are assembled byte by byte. The output is
deterministic, so running the script again reproduces the committed files exactly.

  python3 tools/artwork/make_artwork.py [--preview DIR]

--preview also writes every image as PNG into DIR for looking at.
"""

import argparse
import collections
import math
import os
import struct
import zlib

# ---------------------------------------------------------------------------------------------
# Colours and drawing
# ---------------------------------------------------------------------------------------------


def rgb(hex_text):
    value = int(hex_text.lstrip("#"), 16)
    return ((value >> 16) & 255) / 255.0, ((value >> 8) & 255) / 255.0, (value & 255) / 255.0


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class Canvas:
    """Premultiplied RGBA floats, row-major, origin top left, y downwards."""

    def __init__(self, width, height, background=None):
        self.width = width
        self.height = height
        fill = (0.0, 0.0, 0.0, 0.0) if background is None else (*background, 1.0)
        self.pixels = [list(fill) for _ in range(width * height)]

    def blend(self, x, y, colour, alpha):
        if alpha <= 0.0:
            return
        p = self.pixels[y * self.width + x]
        keep = 1.0 - alpha
        p[0] = colour[0] * alpha + p[0] * keep
        p[1] = colour[1] * alpha + p[1] * keep
        p[2] = colour[2] * alpha + p[2] * keep
        p[3] = alpha + p[3] * keep

    def draw(self, distance, bounds, paint, opacity=1.0):
        """Fills the shape whose signed distance (pixels, negative inside) `distance` gives.

        `paint(x, y)` returns the colour at a pixel centre; `bounds` limits the work.
        """
        x0, y0, x1, y1 = bounds
        x0 = max(0, int(math.floor(x0)) - 1)
        y0 = max(0, int(math.floor(y0)) - 1)
        x1 = min(self.width, int(math.ceil(x1)) + 1)
        y1 = min(self.height, int(math.ceil(y1)) + 1)
        for y in range(y0, y1):
            cy = y + 0.5
            for x in range(x0, x1):
                cx = x + 0.5
                coverage = 0.5 - distance(cx, cy)
                if coverage <= 0.0:
                    continue
                if coverage > 1.0:
                    coverage = 1.0
                self.blend(x, y, paint(cx, cy), coverage * opacity)

    def rgba_bytes(self):
        """Straight (not premultiplied) 8-bit RGBA rows, top row first."""
        rows = []
        for y in range(self.height):
            row = bytearray()
            for x in range(self.width):
                r, g, b, a = self.pixels[y * self.width + x]
                if a > 0.0:
                    r, g, b = r / a, g / a, b / a
                row += bytes(to_byte(v) for v in (r, g, b, a))
            rows.append(bytes(row))
        return rows


def to_byte(value):
    return max(0, min(255, int(round(value * 255.0))))


def solid(colour):
    return lambda x, y: colour


def vertical_gradient(top, bottom, y0, y1):
    def paint(x, y):
        t = min(1.0, max(0.0, (y - y0) / max(1e-6, y1 - y0)))
        return mix(top, bottom, t)

    return paint


def rounded_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0, (y1 - y0) / 2.0
    radius = min(radius, hx, hy)

    def distance(x, y):
        qx = abs(x - cx) - hx + radius
        qy = abs(y - cy) - hy + radius
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        inside = min(max(qx, qy), 0.0)
        return outside + inside - radius

    return distance, (x0, y0, x1, y1)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def arc_distance(px, py, cx, cy, radius, start, sweep):
    """Distance to a circular arc; angles in degrees, counter-clockwise with y upwards."""
    angle = math.degrees(math.atan2(-(py - cy), px - cx))
    relative = (angle - start) % 360.0
    if relative <= sweep:
        return abs(math.hypot(px - cx, py - cy) - radius)
    ends = []
    for a in (start, start + sweep):
        ex = cx + radius * math.cos(math.radians(a))
        ey = cy - radius * math.sin(math.radians(a))
        ends.append(math.hypot(px - ex, py - ey))
    return min(ends)


def heart(cx, cy, size):
    """A heart made of two circles and a rotated square, `size` wide."""
    r = size * 0.27
    left = (cx - size * 0.21, cy - size * 0.12)
    right = (cx + size * 0.21, cy - size * 0.12)
    tip_y = cy + size * 0.42
    top_y = cy + size * 0.03  # where the tangents meet the circles

    def distance(x, y):
        d1 = math.hypot(x - left[0], y - left[1]) - r
        d2 = math.hypot(x - right[0], y - right[1]) - r
        # the lower point: intersection of two half-planes through the tip
        slope = math.radians(49)  # tangent from the tip to both circles
        n1 = (math.cos(slope), math.sin(slope))
        n2 = (-math.cos(slope), math.sin(slope))
        e1 = (x - cx) * n1[0] + (y - tip_y) * n1[1]
        e2 = (x - cx) * n2[0] + (y - tip_y) * n2[1]
        wedge = max(e1, e2, top_y - y)
        return min(d1, d2, wedge)

    return distance, (cx - size / 2, cy - size / 2, cx + size / 2, cy + size / 2)


# ---------------------------------------------------------------------------------------------
# The program icon: a monitor whose desktop icons fade out from left to right
# ---------------------------------------------------------------------------------------------

FRAME = rgb("#2f3e50")
STAND = rgb("#3d4f64")
SCREEN_TOP = rgb("#63cdf5")
SCREEN_BOTTOM = rgb("#2376d1")
ICON_WHITE = rgb("#ffffff")
ICON_FADE = (1.0, 0.62, 0.28)


def monitor_layout(size):
    """Geometry in pixels. Small sizes get a hand-tuned grid so every edge is crisp."""
    if size == 16:
        return {
            "body": (0, 1, 16, 12, 1.5),
            "screen": (1, 2, 15, 11, 0.5),
            "neck": (6, 12, 10, 13),
            "base": (3, 13, 13, 15, 1.0),
            "cells": [(x, y, 2) for y in (4, 7) for x in (3, 7, 11)],
        }
    unit = size / 32.0
    snap = size < 64

    def v(value):
        scaled = value * unit
        return round(scaled) if snap else scaled

    cells = []
    for row in (8, 15):
        for col in (5.5, 13.5, 21.5):
            cells.append((v(col), v(row), max(2, v(5))))
    return {
        "body": (v(1), v(3), v(31), v(24), 2.6 * unit),
        "screen": (v(2.75), v(4.75), v(29.25), v(22.25), 1.1 * unit),
        "neck": (v(13), v(24), v(19), v(27.5)),
        "base": (v(8.5), v(27), v(23.5), v(30), 1.5 * unit),
        "cells": cells,
    }


def draw_monitor(canvas, size, offset_x=0.0, offset_y=0.0):
    layout = monitor_layout(size)

    def shifted(box):
        x0, y0, x1, y1 = box[:4]
        return x0 + offset_x, y0 + offset_y, x1 + offset_x, y1 + offset_y

    x0, y0, x1, y1 = shifted(layout["neck"])
    canvas.draw(*rounded_rect(x0, y0, x1, y1, 0.0), solid(STAND))
    x0, y0, x1, y1 = shifted(layout["base"])
    canvas.draw(*rounded_rect(x0, y0, x1, y1, layout["base"][4]), solid(FRAME))
    x0, y0, x1, y1 = shifted(layout["body"])
    canvas.draw(*rounded_rect(x0, y0, x1, y1, layout["body"][4]), solid(FRAME))
    x0, y0, x1, y1 = shifted(layout["screen"])
    canvas.draw(*rounded_rect(x0, y0, x1, y1, layout["screen"][4]),
                vertical_gradient(SCREEN_TOP, SCREEN_BOTTOM, y0, y1))
    for index, (cx, cy, side) in enumerate(layout["cells"]):
        fade = ICON_FADE[index % 3]
        x, y = cx + offset_x, cy + offset_y
        radius = max(0.6, side * 0.22)
        canvas.draw(*rounded_rect(x, y, x + side, y + side, radius), solid(ICON_WHITE), fade)


def program_icon(size):
    canvas = Canvas(size, size)
    draw_monitor(canvas, size)
    return canvas


def link_icon(size):
    canvas = Canvas(size, size)
    distance, bounds = heart(size / 2.0, size / 2.0, size * 0.92)
    top, bottom = rgb("#ff6f7d"), rgb("#d6263b")
    canvas.draw(distance, bounds, vertical_gradient(top, bottom, bounds[1], bounds[3]))
    # a small highlight keeps the heart from looking flat at 32 px
    if size >= 32:
        hx, hy = size * 0.31, size * 0.32
        d = lambda x, y: math.hypot(x - hx, y - hy) - size * 0.07
        canvas.draw(d, (hx - 4, hy - 4, hx + 4, hy + 4), solid((1.0, 1.0, 1.0)), 0.55)
    return canvas


# ---------------------------------------------------------------------------------------------
# The word mark: geometric stroke letters
# ---------------------------------------------------------------------------------------------

# Each glyph: advance width and strokes in em units, y upwards from the baseline.
# ("line", ax, ay, bx, by) or ("arc", cx, cy, r, start_degrees, sweep_degrees)
X_HEIGHT = 0.5
GLYPHS = {
    "V": (0.62, [("line", 0.0, 0.72, 0.31, 0.0), ("line", 0.31, 0.0, 0.62, 0.72)]),
    "e": (0.52, [("line", 0.0, 0.25, 0.52, 0.25), ("arc", 0.26, 0.25, 0.26, 0.0, 320.0)]),
    "l": (0.0, [("line", 0.0, 0.0, 0.0, 0.76)]),
    "m": (0.66, [
        ("line", 0.0, 0.0, 0.0, X_HEIGHT),
        ("arc", 0.165, 0.335, 0.165, 0.0, 180.0),
        ("line", 0.33, 0.335, 0.33, 0.0),
        ("arc", 0.495, 0.335, 0.165, 0.0, 180.0),
        ("line", 0.66, 0.335, 0.66, 0.0),
    ]),
    "o": (0.52, [("arc", 0.26, 0.25, 0.26, 0.0, 360.0)]),
    "r": (0.3, [("line", 0.0, 0.0, 0.0, X_HEIGHT), ("arc", 0.24, 0.26, 0.24, 60.0, 120.0)]),
    "a": (0.52, [("arc", 0.26, 0.25, 0.26, 0.0, 360.0), ("line", 0.52, X_HEIGHT, 0.52, 0.0)]),
}


def draw_word(canvas, text, left, baseline, em, stroke, colour, tracking=0.13):
    x = left
    for char in text:
        advance, strokes = GLYPHS[char]
        for stroke_def in strokes:
            canvas.draw(*stroke_shape(stroke_def, x, baseline, em, stroke), solid(colour))
        x += (advance + tracking) * em + stroke
    return x


def stroke_shape(stroke_def, left, baseline, em, width):
    half = width / 2.0
    if stroke_def[0] == "line":
        _, ax, ay, bx, by = stroke_def
        a = (left + ax * em, baseline - ay * em)
        b = (left + bx * em, baseline - by * em)
        bounds = (min(a[0], b[0]) - half, min(a[1], b[1]) - half, max(a[0], b[0]) + half, max(a[1], b[1]) + half)
        return (lambda x, y: segment_distance(x, y, a[0], a[1], b[0], b[1]) - half), bounds
    _, cx, cy, r, start, sweep = stroke_def
    c = (left + cx * em, baseline - cy * em)
    radius = r * em
    bounds = (c[0] - radius - half, c[1] - radius - half, c[0] + radius + half, c[1] + radius + half)
    return (lambda x, y: arc_distance(x, y, c[0], c[1], radius, start, sweep) - half), bounds


# ---------------------------------------------------------------------------------------------
# The dialog header: icon, word mark and a trail of icons fading into the background
# ---------------------------------------------------------------------------------------------

HEADER_THEMES = {
    "light": {
        "left": rgb("#f7fafd"),
        "right": rgb("#dcebf8"),
        "word": rgb("#24384d"),
        "cell": rgb("#3d8ee0"),
        "cell_strength": 0.8,
    },
    "dark": {
        "left": rgb("#262b31"),
        "right": rgb("#1b2a3a"),
        "word": rgb("#e4e9ef"),
        "cell": rgb("#63cdf5"),
        "cell_strength": 0.75,
    },
}


def header(theme_name, width, height, trail_end):
    theme = HEADER_THEMES[theme_name]
    canvas = Canvas(width, height)
    for y in range(height):
        for x in range(width):
            t = x / max(1, width - 1)
            colour = mix(theme["left"], theme["right"], t * t)
            canvas.pixels[y * width + x] = [*colour, 1.0]

    icon_size = 32 if height < 44 else 40
    top = (height - icon_size) // 2 - 1
    monitor_scale_canvas(canvas, icon_size, 10, top)

    em = height * 0.62
    stroke = max(2.0, em * 0.095)
    baseline = height / 2.0 + em * 0.25
    right = draw_word(canvas, "Velmora", 10 + icon_size + 12, baseline, em, stroke, theme["word"])

    # The trail: rows of small icons that thin out towards the right edge.
    cell, gap = 7, 5
    rows = 3
    trail_left = int(right + 40)
    trail_top = (height - rows * cell - (rows - 1) * gap) // 2
    columns = max(0, (trail_end - trail_left) // (cell + gap))
    for col in range(columns):
        fade = 1.0 - col / max(1, columns)
        fade = fade ** 1.6
        for row in range(rows):
            # a gentle, fixed pattern of missing icons, as if some had already gone
            if (col * 7 + row * 3) % 5 == 0 and col > columns // 3:
                continue
            x = trail_left + col * (cell + gap)
            y = trail_top + row * (cell + gap)
            canvas.draw(*rounded_rect(x, y, x + cell, y + cell, 1.6), solid(theme["cell"]),
                        theme["cell_strength"] * fade)
    return canvas


def monitor_scale_canvas(canvas, size, left, top):
    draw_monitor(canvas, size, left, top)


# ---------------------------------------------------------------------------------------------
# File formats
# ---------------------------------------------------------------------------------------------


def png_bytes(canvas):
    raw = b"".join(b"\x00" + row for row in canvas.rgba_bytes())

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header_data = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header_data) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def icon_dib_bytes(canvas):
    """A 32-bit icon image: BITMAPINFOHEADER, BGRA bottom-up, then the AND mask."""
    size = canvas.width
    rows = canvas.rgba_bytes()
    colour = bytearray()
    for row in reversed(rows):
        for i in range(0, len(row), 4):
            r, g, b, a = row[i:i + 4]
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(size):
            if row[x * 4 + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def ico_bytes(images):
    """`images`: list of canvases; 256 px ones are stored as PNG."""
    blobs = [png_bytes(c) if c.width >= 256 else icon_dib_bytes(c) for c in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, blob in zip(images, blobs):
        side = 0 if canvas.width >= 256 else canvas.width
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def colour_distance(a, b):
    return (a[0] - b[0]) ** 2 + (a[1] - b[1]) ** 2 + (a[2] - b[2]) ** 2


def quantise(canvas, colours=256):
    """A palette of at most `colours` entries and the rows as palette indices, top row first.

    The headers have a few hundred colours, nearly all of them from the background gradient;
    the rest are anti-aliased edges of a pixel or two each. The most common colours are kept as
    they are, the rest of the palette goes to the edge colours farthest from it, and a few
    rounds of weighted k-means settle it: no pixel ends up more than a couple of levels off.
    """
    rows = [[tuple(row[i:i + 3]) for i in range(0, len(row), 4)] for row in canvas.rgba_bytes()]
    counts = collections.Counter(pixel for row in rows for pixel in row)
    by_count = sorted(counts, key=lambda c: (-counts[c], c))

    def nearest(colour, palette):
        return min(range(len(palette)), key=lambda i: colour_distance(colour, palette[i]))

    palette = by_count[:colours * 3 // 4]
    gap = {c: min(colour_distance(c, p) for p in palette) for c in by_count}
    while len(palette) < min(colours, len(by_count)):
        farthest = max(by_count, key=lambda c: (gap[c], c))
        palette.append(farthest)
        for c in by_count:
            gap[c] = min(gap[c], colour_distance(c, farthest))
    if len(by_count) > colours:
        for _ in range(6):
            sums = [[0, 0, 0, 0] for _ in palette]
            for c, n in counts.items():
                total = sums[nearest(c, palette)]
                for k in range(3):
                    total[k] += c[k] * n
                total[3] += n
            palette = [tuple(int(round(t[k] / t[3])) for k in range(3)) if t[3] else p
                       for t, p in zip(sums, palette)]
    palette = sorted(set(palette))
    index = {c: nearest(c, palette) for c in counts}
    return palette, [[index[pixel] for pixel in row] for row in rows]


def rle8_row(indices):
    """One row in BI_RLE8: runs as (count, index), stretches of single pixels in absolute mode
    (at least three of them, padded to a word), then the end-of-line code."""
    runs = []
    for value in indices:
        if runs and runs[-1][1] == value and runs[-1][0] < 255:
            runs[-1][0] += 1
        else:
            runs.append([1, value])
    out = bytearray()
    literal = []

    def flush():
        for start in range(0, len(literal), 255):
            part = literal[start:start + 255]
            if len(part) >= 3:
                out.extend((0, len(part)))
                out.extend(part)
                if len(part) % 2:
                    out.append(0)
            else:
                for value in part:
                    out.extend((1, value))
        literal.clear()

    for count, value in runs:
        if count == 1:
            literal.append(value)
        else:
            flush()
            out.extend((count, value))
    flush()
    out.extend((0, 0))
    return out


def bmp8_rle_bytes(canvas):
    """An RLE8-compressed 8-bit bitmap, a tenth of the 24-bit size: the headers' gradient runs
    along the rows, so a row is a few dozen runs. LoadBitmap and SS_BITMAP statics read it like
    any DIB; LoadImage with LR_CREATEDIBSECTION would not (a DIB section is never compressed)."""
    palette, rows = quantise(canvas)
    pixels = bytearray()
    for row in reversed(rows):
        pixels += rle8_row(row)
    pixels += b"\x00\x01"  # end of bitmap
    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 8, 1, len(pixels), 3780, 3780,
                       len(palette), 0)
    offset = 14 + len(info) + len(colour_table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return file_header + info + colour_table + bytes(pixels)


# ---------------------------------------------------------------------------------------------

# The program asks for the small and large system sizes (16 and 32 at 96 dpi); Windows
# shrinks the next larger image for the sizes in between, and the shell scales the 256 px one
# for its big views. Only that one is PNG, as Vista introduced it; the small ones stay plain
# bitmaps that every Windows version reads.
PROGRAM_ICON_SIZES = (16, 20, 24, 32, 48, 256)
LINK_ICON_SIZES = (16, 32)
# The header static is 341 x 30 dialog units: about 512 x 49 pixels with the dialog font at
# 96 dpi on Windows, wider under Wine, whose stand-in for the font is wider. A static with
# SS_BITMAP takes the bitmap's size, so the picture is made wider than any of these dialogs
# (the dialog clips it) and its trail of icons has faded out before the narrowest edge.
HEADER_SIZE = (660, 49)
HEADER_TRAIL_END = 530


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "..", "resources"))
    parser.add_argument("--preview", help="also write PNG previews into this folder")
    args = parser.parse_args()

    program = [program_icon(s) for s in PROGRAM_ICON_SIZES]
    link = [link_icon(s) for s in LINK_ICON_SIZES]
    headers = {name: header(name, *HEADER_SIZE, HEADER_TRAIL_END) for name in ("light", "dark")}

    outputs = {
        "velmora.ico": ico_bytes(program),
        "link.ico": ico_bytes(link),
        "header_light.bmp": bmp8_rle_bytes(headers["light"]),
        "header_dark.bmp": bmp8_rle_bytes(headers["dark"]),
    }
    for name, data in outputs.items():
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        previews = {f"program_{c.width}.png": c for c in program}
        previews.update({f"link_{c.width}.png": c for c in link})
        previews.update({f"header_{name}.png": c for name, c in headers.items()})
        for name, canvas in previews.items():
            with open(os.path.join(args.preview, name), "wb") as f:
                f.write(png_bytes(canvas))


if __name__ == "__main__":
    main()
