#!/usr/bin/env python3
"""Draws the window frame's bitmaps: RES_FORM, RES_TITLE and RES_ICON (24-bit BMP files).

Run from anywhere:  python3 resources/art/make_art.py [--preview DIR]
The BMP files are written to resources/frame/ and committed; --preview also writes enlarged PNG
copies for looking at them. Only the standard library is used.

RES_FORM is cut into pieces by the frame code; the columns and rows between the pieces are guide
lines in a colour used nowhere else, so a piece copied one pixel too wide shows at once.
The caption buttons and the icon are anti-aliased against the title bar rows they sit on, because
their background colour is keyed out (magenta, white) rather than blended.
"""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.normpath(os.path.join(HERE, "..", "frame"))

# ---- palette -------------------------------------------------------------------------------------
GUIDE = (0, 255, 0)
MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
CENTRE = (240, 240, 240)          # the centre panel's own background
OUTLINE = (27, 32, 41)            # outer line of the title bar
BAR_HILITE = (76, 87, 104)        # the bar's top bevel
BAR_TOP = (58, 67, 82)
BAR_BOTTOM = (37, 43, 54)
BAR_SHADOW = (29, 34, 43)
ACCENT = (64, 150, 128)           # thin ledger-green line under the bar
EDGE = (120, 127, 138)            # grey window edge
EDGE_INNER = (214, 217, 222)      # softens the step from the edge to the centre colour

TITLE_H = 36
BUTTON_TOP = 8                    # caption buttons' top in the bar
ICON_TOP = 11                     # the icon's top in the bar


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def bar_row(y):
    """Colour of title bar row y (0..35)."""
    if y == 0:
        return OUTLINE
    if y == 1:
        return BAR_HILITE
    if y == 34:
        return BAR_SHADOW
    if y == 35:
        return ACCENT
    return mix(BAR_TOP, BAR_BOTTOM, (y - 2) / 31.0)


class Canvas:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]


# ---- RES_FORM ------------------------------------------------------------------------------------
def make_form():
    c = Canvas(443, 56, GUIDE)
    used_cols = [(0, 8), (10, 125), (127, 189), (191, 316), (318, 427), (429, 442)]
    for a, b in used_cols:
        for x in range(a, b + 1):
            for y in range(TITLE_H):
                col = bar_row(y)
                # the outer line runs round the bar's ends too
                if (x == 0 or x == 442) and y < 35:
                    col = OUTLINE
                elif (x == 1 or x == 441) and 1 <= y < 34:
                    col = mix(bar_row(y), BAR_HILITE, 0.45)
                c.set(x, y, col)
    # side edges, rows 37-48
    for y in range(37, 49):
        c.set(0, y, EDGE)
        c.set(1, y, EDGE_INNER)
        c.set(441, y, EDGE_INNER)
        c.set(442, y, EDGE)
    # bottom edge, rows 50-55: the centre colour closing on the grey edge
    bottom_rows = [CENTRE, CENTRE, CENTRE, mix(CENTRE, EDGE_INNER, 0.5), EDGE_INNER, EDGE]
    for a, b in [(0, 125), (127, 316), (318, 442)]:
        for x in range(a, b + 1):
            for i, col in enumerate(bottom_rows):
                c.set(x, 50 + i, col)
    for y in range(50, 55):
        c.set(0, y, EDGE)
        c.set(1, y, EDGE_INNER)
        c.set(441, y, EDGE_INNER)
        c.set(442, y, EDGE)
    return c


# ---- shapes drawn with 8x8 supersampling over a known backdrop --------------------------------------
def poly(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            x1, y1 = points[i]
            x2, y2 = points[(i + 1) % n]
            if (y1 > y) != (y2 > y):
                xs = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
                if x < xs:
                    hit = not hit
        return hit
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def round_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def stroke(x0, y0, x1, y1, width):
    """A straight line of the given width with square-cut ends."""
    dx, dy = x1 - x0, y1 - y0
    length = (dx * dx + dy * dy) ** 0.5
    nx, ny = -dy / length * width / 2, dx / length * width / 2
    return poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])


def render(c, ox, w, h, shapes, backdrop, key, n=8):
    """Paints shapes (topmost last) into cell at x offset ox; pixels no shape touches get `key`,
    partly covered ones are blended with backdrop(y), the colour that will show through."""
    for py in range(h):
        for px in range(w):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(n):
                for sx in range(n):
                    x = px + (sx + 0.5) / n
                    y = py + (sy + 0.5) / n
                    col = None
                    for inside, colour in shapes:
                        if inside(x, y):
                            col = colour
                    if col is None:
                        col = backdrop(py)
                    else:
                        covered += 1
                    for i in range(3):
                        acc[i] += col[i]
            if covered == 0:
                c.set(ox + px, py, key)
            else:
                c.set(ox + px, py, tuple(int(round(v / (n * n))) for v in acc))


# ---- RES_TITLE -----------------------------------------------------------------------------------
GLYPH = (222, 227, 234)
GLYPH_PRESSED = (255, 255, 255)
MIN_PRESSED = (86, 99, 120)
CLOSE_PRESSED = (199, 56, 45)


def make_title():
    c = Canvas(120, 20, MAGENTA)
    backdrop = lambda y: bar_row(BUTTON_TOP + y)

    def minimize(pressed):
        shapes = []
        if pressed:
            shapes.append((round_rect(1, 1, 19, 19, 3), MIN_PRESSED))
        shapes.append((rect(5, 13, 15, 15), GLYPH_PRESSED if pressed else GLYPH))
        return shapes

    def close(pressed):
        shapes = []
        if pressed:
            shapes.append((round_rect(1, 1, 19, 19, 3), CLOSE_PRESSED))
        g = GLYPH_PRESSED if pressed else GLYPH
        shapes.append((stroke(5.5, 5.5, 14.5, 14.5, 1.7), g))
        shapes.append((stroke(14.5, 5.5, 5.5, 14.5, 1.7), g))
        return shapes

    render(c, 0, 20, 20, minimize(False), backdrop, MAGENTA)
    render(c, 20, 20, 20, minimize(True), backdrop, MAGENTA)
    render(c, 60, 20, 20, close(False), backdrop, MAGENTA)
    render(c, 80, 20, 20, close(True), backdrop, MAGENTA)
    return c


# ---- RES_ICON: an open ledger --------------------------------------------------------------------
COVER = (46, 138, 114)
COVER_DARK = (30, 98, 81)
PAGE = (250, 246, 234)
PAGE_SHADE = (226, 220, 204)
RULE = (150, 172, 196)
MARGIN = (214, 104, 90)


def make_icon():
    c = Canvas(17, 13, WHITE)
    backdrop = lambda y: bar_row(ICON_TOP + y)
    shapes = [
        # the cover, showing below and beside the pages
        (poly([(0, 2.0), (8.5, 3.0), (17, 2.0), (17, 12.2), (8.5, 13), (0, 12.2)]), COVER),
        (rect(8.0, 3.0, 9.0, 13), COVER_DARK),
        # the two pages, lifted at the outer corners
        (poly([(1, 0.6), (8.5, 1.8), (8.5, 11.6), (1, 10.6)]), PAGE),
        (poly([(8.5, 1.8), (16, 0.6), (16, 10.6), (8.5, 11.6)]), PAGE),
        # the gutter
        (poly([(7.6, 1.6), (8.5, 1.8), (8.5, 11.6), (7.6, 11.4)]), PAGE_SHADE),
        (poly([(8.5, 1.8), (9.4, 1.6), (9.4, 11.4), (8.5, 11.6)]), PAGE_SHADE),
    ]
    # ruled lines, following the pages' slant
    for i, y in enumerate((3.6, 5.6, 7.6)):
        shapes.append((poly([(2.6, y), (7.2, y + 0.75), (7.2, y + 1.65), (2.6, y + 0.9)]), RULE))
        shapes.append((poly([(9.8, y + 0.75), (14.4, y), (14.4, y + 0.9), (9.8, y + 1.65)]), RULE))
    # the red margin line of a ledger page
    shapes.append((poly([(4.0, 1.2), (4.9, 1.35), (4.9, 11.0), (4.0, 10.85)]), MARGIN))
    render(c, 0, 17, 13, shapes, backdrop, WHITE)
    return c


# ---- files ---------------------------------------------------------------------------------------
def write_bmp(path, c):
    row_bytes = (c.w * 3 + 3) & ~3
    pad = b"\0" * (row_bytes - c.w * 3)
    data = bytearray()
    for y in range(c.h - 1, -1, -1):        # bottom-up
        for x in range(c.w):
            r, g, b = c.get(x, y)
            data += bytes((b, g, r))
        data += pad
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + bytes(data))


def write_png(path, c, scale):
    raw = bytearray()
    for y in range(c.h):
        line = bytearray()
        for x in range(c.w):
            line += bytes(c.get(x, y)) * scale
        for _ in range(scale):
            raw += b"\0" + line

    def chunk(tag, body):
        return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", c.w * scale, c.h * scale, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main(argv):
    os.makedirs(OUT, exist_ok=True)
    art = {"RES_FORM": make_form(), "RES_TITLE": make_title(), "RES_ICON": make_icon()}
    for name, c in art.items():
        write_bmp(os.path.join(OUT, name + ".bmp"), c)
    if "--preview" in argv:
        where = argv[argv.index("--preview") + 1]
        os.makedirs(where, exist_ok=True)
        for name, c in art.items():
            write_png(os.path.join(where, name + ".png"), c, 4 if name == "RES_FORM" else 16)


if __name__ == "__main__":
    main(sys.argv[1:])
