#!/usr/bin/env python3
"""Draw the pixel-art pictures of the Sortaro shell and write them into
catalogue/shell/res/ (category icons, program icon, dialog icons and the
tool bar strip).

Standard library only.  Every picture is described in a 16x16 "unit" grid
and rasterised at each wanted size (a unit is one pixel at 16x16, two at
32x32, three at 48x48).  Shapes get a one pixel darker outline, a light
inner edge at the top and left and, at the larger sizes, a slightly darker
inner edge at the bottom and right.

The output is deterministic: running the script twice writes identical
files.  Run it from anywhere, e.g. `python3 tools/make-pictures.py`.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), 'catalogue', 'shell', 'res')


# ---------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------

def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def dark(c, t=0.5):
    return mix(c, (0, 0, 0), t)


def light(c, t=0.5):
    return mix(c, (255, 255, 255), t)


WHITE = (255, 255, 255)
BLACK = (16, 16, 20)
PAPER = (252, 252, 248)
EDGE = (92, 96, 110)          # outline of pages
FOLD = (208, 212, 222)
INK = (36, 40, 52)
LINES = (146, 158, 186)       # text lines on pages
FOLDER = (250, 204, 84)
SKY = (138, 196, 248)
GRASS = (72, 166, 60)
SUN = (255, 214, 40)
BLUE = (44, 100, 206)
NAVY = (30, 52, 140)
SEA = (52, 124, 222)
LAND = (84, 178, 72)
RED = (220, 44, 36)
GREEN = (50, 164, 60)
ORANGE = (242, 140, 30)
TAN = (224, 182, 118)
WOOD = (178, 116, 58)
BROWN = (112, 66, 32)
METAL = (186, 192, 202)
STEEL = (122, 128, 142)
DARK = (56, 60, 70)
SCREEN = (26, 42, 104)
PURPLE = (128, 70, 180)
YELLOW = (252, 222, 64)
CHOC = (86, 48, 24)
GLASS = (200, 230, 252)
PINK = (240, 130, 150)
LED = (60, 230, 60)


# ---------------------------------------------------------------------------
# Bitmap fonts (own design).  Each glyph is a list of rows, '#' = ink.
# ---------------------------------------------------------------------------

class Font:
    def __init__(self, width, height, table):
        self.w, self.h = width, height
        self.glyphs = {}
        for ch, rows in table.items():
            rows = rows.split()
            assert len(rows) == height and all(len(r) == width for r in rows), ch
            self.glyphs[ch] = rows

    def width(self, text, scale=1):
        return (len(text) * (self.w + 1) - 1) * scale if text else 0


FONT3 = Font(3, 5, {
    'A': '.#. #.# ### #.# #.#', 'B': '##. #.# ##. #.# ##.',
    'C': '.## #.. #.. #.. .##', 'D': '##. #.# #.# #.# ##.',
    'E': '### #.. ##. #.. ###', 'F': '### #.. ##. #.. #..',
    'G': '.## #.. #.# #.# .##', 'H': '#.# #.# ### #.# #.#',
    'I': '### .#. .#. .#. ###', 'J': '..# ..# ..# #.# .#.',
    'K': '#.# #.# ##. #.# #.#', 'L': '#.. #.. #.. #.. ###',
    'M': '#.# ### ### #.# #.#', 'N': '##. #.# #.# #.# #.#',
    'O': '.#. #.# #.# #.# .#.', 'P': '##. #.# ##. #.. #..',
    'Q': '.#. #.# #.# ##. .##', 'R': '##. #.# ##. #.# #.#',
    'S': '.## #.. .#. ..# ##.', 'T': '### .#. .#. .#. .#.',
    'U': '#.# #.# #.# #.# ###', 'V': '#.# #.# #.# #.# .#.',
    'W': '#.# #.# ### ### #.#', 'X': '#.# #.# .#. #.# #.#',
    'Y': '#.# #.# .#. .#. .#.', 'Z': '### ..# .#. #.. ###',
    '0': '### #.# #.# #.# ###', '1': '.#. ##. .#. .#. ###',
    '2': '##. ..# .#. #.. ###', '3': '##. ..# .#. ..# ##.',
    '4': '#.# #.# ### ..# ..#', '5': '### #.. ##. ..# ##.',
    '6': '.## #.. ### #.# ###', '7': '### ..# .#. .#. .#.',
    '8': '### #.# ### #.# ###', '9': '### #.# ### ..# ##.',
    ' ': '... ... ... ... ...', '<': '..# .#. #.. .#. ..#',
    '>': '#.. .#. ..# .#. #..', '/': '..# ..# .#. #.. #..',
    '?': '##. ..# .#. ... .#.', '!': '.#. .#. .#. ... .#.',
    '.': '... ... ... ... .#.', '-': '... ... ### ... ...',
    '+': '... .#. ### .#. ...', ':': '... .#. ... .#. ...',
})

FONT5 = Font(5, 7, {
    'A': '.###. #...# #...# ##### #...# #...# #...#',
    'B': '####. #...# #...# ####. #...# #...# ####.',
    'C': '.###. #...# #.... #.... #.... #...# .###.',
    'D': '####. #...# #...# #...# #...# #...# ####.',
    'E': '##### #.... #.... ####. #.... #.... #####',
    'F': '##### #.... #.... ####. #.... #.... #....',
    'G': '.###. #...# #.... #.### #...# #...# .####',
    'H': '#...# #...# #...# ##### #...# #...# #...#',
    'I': '.###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.',
    'J': '..### ...#. ...#. ...#. ...#. #..#. .##..',
    'K': '#...# #..#. #.#.. ##... #.#.. #..#. #...#',
    'L': '#.... #.... #.... #.... #.... #.... #####',
    'M': '#...# ##.## #.#.# #.#.# #...# #...# #...#',
    'N': '#...# #...# ##..# #.#.# #..## #...# #...#',
    'O': '.###. #...# #...# #...# #...# #...# .###.',
    'P': '####. #...# #...# ####. #.... #.... #....',
    'Q': '.###. #...# #...# #...# #.#.# #..#. .##.#',
    'R': '####. #...# #...# ####. #.#.. #..#. #...#',
    'S': '.#### #.... #.... .###. ....# ....# ####.',
    'T': '##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..',
    'U': '#...# #...# #...# #...# #...# #...# .###.',
    'V': '#...# #...# #...# #...# #...# .#.#. ..#..',
    'W': '#...# #...# #...# #.#.# #.#.# #.#.# .#.#.',
    'X': '#...# #...# .#.#. ..#.. .#.#. #...# #...#',
    'Y': '#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..',
    'Z': '##### ....# ...#. ..#.. .#... #.... #####',
    '0': '.###. #...# #..## #.#.# ##..# #...# .###.',
    '1': '..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.',
    '2': '.###. #...# ....# ...#. ..#.. .#... #####',
    '3': '####. ....# ....# .###. ....# ....# ####.',
    '4': '...#. ..##. .#.#. #..#. ##### ...#. ...#.',
    '5': '##### #.... ####. ....# ....# #...# .###.',
    '6': '..##. .#... #.... ####. #...# #...# .###.',
    '7': '##### ....# ...#. ..#.. .#... .#... .#...',
    '8': '.###. #...# #...# .###. #...# #...# .###.',
    '9': '.###. #...# #...# .#### ....# ...#. .##..',
    ' ': '..... ..... ..... ..... ..... ..... .....',
    '<': '...#. ..#.. .#... #.... .#... ..#.. ...#.',
    '>': '.#... ..#.. ...#. ....# ...#. ..#.. .#...',
    '/': '....# ....# ...#. ..#.. .#... #.... #....',
    '?': '.###. #...# ....# ...#. ..#.. ..... ..#..',
    '!': '..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#..',
    '.': '..... ..... ..... ..... ..... ..... ..#..',
    '-': '..... ..... ..... .###. ..... ..... .....',
    '+': '..... ..#.. ..#.. ##### ..#.. ..#.. .....',
    ':': '..... ..#.. ..... ..... ..... ..#.. .....',
    '(': '...#. ..#.. .#... .#... .#... ..#.. ...#.',
    ')': '.#... ..#.. ...#. ...#. ...#. ..#.. .#...',
})


# ---------------------------------------------------------------------------
# Canvas
# ---------------------------------------------------------------------------

class Canvas:
    """A grid of RGB tuples (None = transparent).

    Pixel methods (set, fill, rect, line, circle, text, blit) take pixel
    coordinates.  Mask methods (R, E, P, L) take unit coordinates and return
    the set of pixels whose centres lie inside the shape; paint() fills such
    a set with an outline and a bevel.
    """

    def __init__(self, w, h=None, unit=None):
        self.w, self.h = w, (h or w)
        self.u = unit or w / 16.0
        self.big = self.u >= 2
        self.px = [[None] * self.w for _ in range(self.h)]
        self._centres = [(x, y, (x + 0.5) / self.u, (y + 0.5) / self.u)
                         for y in range(self.h) for x in range(self.w)]

    # -- pixel level -------------------------------------------------------

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y][x]
        return None

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def rect(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x1 > x0 else -1), (1 if y1 > y0 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def circle(self, cx, cy, r, c, filled=False):
        for y in range(cy - r - 1, cy + r + 2):
            for x in range(cx - r - 1, cx + r + 2):
                d2 = (x - cx) ** 2 + (y - cy) ** 2
                if d2 <= r * r + r and (filled or d2 >= r * r - r):
                    self.set(x, y, c)

    def sprite(self, x, y, rows, c, scale=1):
        """Draw a small bitmap given as rows of '#' (ink) and '.'."""
        for gy, row in enumerate(rows):
            for gx, bit in enumerate(row):
                if bit == '#':
                    self.fill(x + gx * scale, y + gy * scale,
                              x + gx * scale + scale - 1,
                              y + gy * scale + scale - 1, c)

    def text(self, x, y, s, c, font, scale=1):
        for ch in s:
            self.sprite(x, y, font.glyphs[ch], c, scale)
            x += (font.w + 1) * scale

    def blit(self, src, x, y):
        for sy in range(src.h):
            for sx in range(src.w):
                if src.px[sy][sx] is not None:
                    self.set(x + sx, y + sy, src.px[sy][sx])

    # -- unit level masks --------------------------------------------------

    def p(self, v):
        """Unit coordinate -> pixel index."""
        return int(v * self.u)

    def R(self, x0, y0, x1, y1):
        return {(x, y) for x, y, X, Y in self._centres
                if x0 <= X < x1 and y0 <= Y < y1}

    def E(self, cx, cy, rx, ry=None):
        ry = ry or rx
        return {(x, y) for x, y, X, Y in self._centres
                if ((X - cx) / rx) ** 2 + ((Y - cy) / ry) ** 2 <= 1.0}

    def P(self, pts):
        def inside(X, Y):
            hit = False
            n = len(pts)
            for i in range(n):
                (ax, ay), (bx, by) = pts[i], pts[(i + 1) % n]
                if (ay > Y) != (by > Y):
                    if X < ax + (Y - ay) * (bx - ax) / (by - ay):
                        hit = not hit
            return hit
        return {(x, y) for x, y, X, Y in self._centres if inside(X, Y)}

    def L(self, x0, y0, x1, y1, width):
        """A thick straight stroke with square-ish ends."""
        dx, dy = x1 - x0, y1 - y0
        ll = dx * dx + dy * dy
        r2 = (width / 2.0) ** 2
        out = set()
        for x, y, X, Y in self._centres:
            t = ((X - x0) * dx + (Y - y0) * dy) / ll
            if 0.0 <= t <= 1.0:
                qx, qy = x0 + t * dx - X, y0 + t * dy - Y
                if qx * qx + qy * qy <= r2:
                    out.add((x, y))
        return out

    # -- painting ----------------------------------------------------------

    @staticmethod
    def border(mask):
        return {(x, y) for (x, y) in mask
                if (x - 1, y) not in mask or (x + 1, y) not in mask
                or (x, y - 1) not in mask or (x, y + 1) not in mask}

    def inner(self, mask):
        return mask - self.border(mask)

    def flat(self, mask, c):
        for x, y in mask:
            self.set(x, y, c)

    def paint(self, mask, base, edge=None, hl=True, sh=True):
        """Fill a mask with an outline (edge), a light top/left inner edge
        (hl: True, a colour or False) and, at 32 pixels and up, a darker
        bottom/right inner edge (sh)."""
        edge = edge or dark(base, 0.55)
        hl = light(base, 0.55) if hl is True else hl
        sh = dark(base, 0.15) if sh is True else sh
        rim = self.border(mask)
        for x, y in mask:
            if (x, y) in rim:
                c = edge
            elif hl and ((x - 1, y) in rim or (x, y - 1) in rim):
                c = hl
            elif sh and self.big and ((x + 1, y) in rim or (x, y + 1) in rim):
                c = sh
            else:
                c = base
            self.set(x, y, c)


# ---------------------------------------------------------------------------
# Shared drawing routines (unit coordinates)
# ---------------------------------------------------------------------------

def doc(c, x0=3, y0=1, x1=13, y1=15, fold=3, paper=PAPER):
    """A page with a folded top-right corner."""
    page = c.P([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    c.paint(page, paper, edge=EDGE, hl=False, sh=FOLD if c.big else False)
    ear = c.P([(x1 - fold, y0), (x1 - fold, y0 + fold + 0.01), (x1 + 0.01, y0 + fold)])
    c.paint(ear, FOLD, edge=EDGE, hl=WHITE, sh=False)


def text_lines(c, x0, y0, x1, y1, col=LINES):
    """Lines of 'text' in a unit box; the row lengths vary like prose."""
    lengths = [1.0, 0.8, 0.95, 0.6, 1.0, 0.85, 0.7, 0.9, 0.5]
    step = 2 if not c.big else 3
    px0, px1 = c.p(x0), c.p(x1) - 1
    i = 0
    for y in range(c.p(y0), c.p(y1), step):
        end = px0 + int(round((px1 - px0) * lengths[i % len(lengths)]))
        c.line(px0, y, end, y, col)
        i += 1


def folder(c, col=FOLDER):
    """A folder seen from the front; the front panel spans rows 5..14."""
    rim = dark(col, 0.55)
    c.paint(c.R(1, 2, 7, 4) | c.R(1, 3, 15, 14), dark(col, 0.12), edge=rim)
    c.paint(c.R(1, 5, 15, 14), col, edge=rim)


def landscape(c, x0, y0, x1, y1, frame=None):
    """A small picture: sky, sun and a green hill inside a frame."""
    box = c.R(x0, y0, x1, y1)
    c.paint(box, SKY, edge=frame or dark(SKY, 0.6), hl=False, sh=False)
    inside = c.inner(box)
    w, h = x1 - x0, y1 - y0
    c.flat(c.E(x1 - w * 0.3, y0 + h * 0.33, max(w, h) * 0.14) & inside, SUN)
    hill = c.E(x0 + w * 0.3, y1 + h * 0.05, w * 0.62, h * 0.55) & inside
    c.flat(hill, GRASS)
    hill2 = c.E(x1 - w * 0.05, y1 + h * 0.1, w * 0.4, h * 0.4) & inside
    c.flat(hill2, dark(GRASS, 0.2))


def centre_text(c, mask, s, col, font, scale=1):
    xs = [x for x, _ in mask]
    ys = [y for _, y in mask]
    w, h = font.width(s, scale), font.h * scale
    x = min(xs) + (max(xs) - min(xs) + 1 - w + 1) // 2
    y = min(ys) + (max(ys) - min(ys) + 1 - h + 1) // 2
    c.text(x, y, s, col, font, scale)


def tag(c, x0, y0, x1, y1, col, s=None):
    """A coloured label band; carries the text only where it fits."""
    band = c.R(x0, y0, x1, y1)
    c.paint(band, col, hl=light(col, 0.3), sh=False)
    if s:
        font = FONT5 if c.big else FONT3
        centre_text(c, c.inner(band), s, WHITE, font)


def clock(c, cx, cy, r):
    face = c.E(cx, cy, r)
    c.paint(face, WHITE, edge=NAVY, hl=False, sh=False)
    if c.big:
        c.flat(c.border(c.inner(face)), BLUE)
    x, y = c.p(cx), c.p(cy)
    n = max(1, int(r * c.u * 0.55))
    c.line(x, y, x, y - n, INK)
    c.line(x, y, x + n - (0 if c.big else 1), y, INK)
    if c.big:
        c.set(x, y, RED)


def globe(c, cx, cy, r, sea=SEA, land=LAND):
    ball = c.E(cx, cy, r)
    c.paint(ball, sea, hl=light(sea, 0.4))
    inside = c.inner(ball)
    blobs = [(-0.38, -0.30, 0.42, 0.30), (-0.20, 0.05, 0.22, 0.42),
             (0.42, -0.05, 0.30, 0.36), (0.25, 0.62, 0.30, 0.16)]
    for dx, dy, rx, ry in blobs:
        part = c.E(cx + dx * r, cy + dy * r, rx * r, ry * r) & inside
        part -= {(x, y) for x, y in part if (x - 1, y) not in inside or (x, y - 1) not in inside}
        c.flat(part, land)
    if c.big:
        c.flat(c.E(cx - r * 0.45, cy - r * 0.5, r * 0.12) & inside, light(sea, 0.75))


def magnifier(c, cx, cy, r, handle=1.9):
    hx, hy = cx + r * 0.68, cy + r * 0.68
    c.paint(c.L(hx, hy, cx + r * handle, cy + r * handle, max(1.6, r * 0.5)), BROWN)
    lens = c.E(cx, cy, r)
    c.paint(lens, STEEL, edge=DARK, hl=METAL)
    glass = c.E(cx, cy, r - (0.9 if not c.big else 1.2))
    c.paint(glass, GLASS, edge=STEEL if c.big else GLASS, hl=WHITE if r * c.u >= 6 else False, sh=False)
    if c.big:
        c.flat(c.E(cx - r * 0.35, cy - r * 0.35, r * 0.2) & glass, WHITE)
    c.set(c.p(cx - r * 0.35), c.p(cy - r * 0.35), WHITE)


def note(c, x0, y0, x1, y1, col=NAVY):
    """Two beamed quavers inside a unit box."""
    w, h = x1 - x0, y1 - y0
    rx, ry = w * 0.22, h * 0.15
    h1 = (x0 + rx, y1 - ry)
    h2 = (x1 - rx, y1 - ry - h * 0.15)
    sw = max(1.0, w * 0.12)
    s1x, s2x = h1[0] + rx - sw / 2, h2[0] + rx - sw / 2
    bt = h * 0.2
    m = c.E(h1[0], h1[1], rx, ry) | c.E(h2[0], h2[1], rx, ry)
    m |= c.R(s1x - sw / 2, y0 + h * 0.12, s1x + sw / 2, h1[1])
    m |= c.R(s2x - sw / 2, y0, s2x + sw / 2, h2[1])
    m |= c.P([(s1x - sw / 2, y0 + h * 0.12), (s2x + sw / 2, y0),
              (s2x + sw / 2, y0 + bt), (s1x - sw / 2, y0 + h * 0.12 + bt)])
    if c.big:
        c.paint(m, col, hl=light(col, 0.45))
    else:
        c.flat(m, dark(col, 0.2))


QUAVER = '...#.. ...##. ...#.# ...#.# ...#.. .###.. ####.. ####.. .##...'.split()


def film(c, x0, y0, x1, y1, pictures=True):
    """A horizontal strip of film with sprocket holes and two frames."""
    strip = c.R(x0, y0, x1, y1)
    c.paint(strip, DARK, edge=BLACK, hl=False, sh=False)
    s = max(1, int(c.u))
    top, bot = c.p(y0) + s, c.p(y1) - 2 * s
    for x in range(c.p(x0) + s, c.p(x1) - s, 2 * s):
        c.fill(x, top, x + s - 1, top + s - 1, METAL)
        c.fill(x, bot, x + s - 1, bot + s - 1, METAL)
    mid = (x0 + x1) / 2.0
    fy0, fy1 = y0 + 2.0 * s / c.u + (0.5 if c.big else 0), y1 - 2.0 * s / c.u - (0.5 if c.big else 0)
    for a, b in ((x0 + 1, mid - 0.5), (mid + 0.5, x1 - 1)):
        if pictures:
            landscape(c, a, fy0, b, fy1, frame=SKY)
        else:
            c.flat(c.R(a, fy0, b, fy1), SKY)


def drive(c, x0, y0, x1, y1):
    """A hard disk drive box with a slot and a green light."""
    box = c.R(x0, y0, x1, y1)
    c.paint(box, METAL, edge=DARK)
    y = c.p((y0 + y1) / 2.0)
    c.line(c.p(x0 + 1.5), y, c.p(x1 - 4), y, STEEL)
    if c.big:
        c.line(c.p(x0 + 1.5), y + 1, c.p(x1 - 4), y + 1, WHITE)
    lx = c.p(x1 - 2.5)
    c.fill(lx, y, lx + max(1, int(c.u)) - 1, y, LED)


def cross(c, cx, cy, r, col=RED):
    m = c.L(cx - r, cy - r, cx + r, cy + r, r * 0.75) | c.L(cx + r, cy - r, cx - r, cy + r, r * 0.75)
    c.paint(m, col, hl=light(col, 0.35))


def arrow_cursor(c, x, y, k=1.0):
    pts = [(0, 0), (0, 13), (3, 10), (5.5, 15), (7.5, 14), (5, 9), (9, 9)]
    c.paint(c.P([(x + px * k, y + py * k) for px, py in pts]), WHITE, edge=BLACK, hl=False, sh=(214, 218, 228))


def card_box(c):
    """Index cards standing in a box (used for the root and the program icon)."""
    c.paint(c.R(3, 1, 11, 8), PAPER, edge=EDGE, hl=False, sh=False)
    c.paint(c.R(3.5, 0, 6.5, 2), RED, edge=dark(RED) if c.big else RED, hl=False, sh=False)
    c.paint(c.R(6, 2.5, 14, 8), PAPER, edge=EDGE, hl=False, sh=False)
    c.paint(c.R(10, 1.5, 13, 3.5), BLUE, edge=dark(BLUE) if c.big else BLUE, hl=False, sh=False)
    if c.big:
        text_lines(c, 4, 3, 9.5, 5)
        text_lines(c, 7, 5, 13, 7)


# ---------------------------------------------------------------------------
# Category pictures
# ---------------------------------------------------------------------------

def emblem_folder(draw_emblem):
    def draw(c):
        folder(c)
        draw_emblem(c)
    return draw


def draw_root(c):
    rim = dark(FOLDER, 0.55)
    c.paint(c.R(1, 2, 7, 4) | c.R(1, 3, 15, 14), dark(FOLDER, 0.12), edge=rim)
    card_box(c)
    c.paint(c.R(1, 6, 15, 14), FOLDER, edge=rim)
    c.paint(c.R(5.5, 8, 10.5, 11), PAPER, edge=BROWN, hl=False, sh=False)


def draw_archive(c):
    c.paint(c.P([(2, 5), (5, 2), (14, 2), (14, 12), (11, 15), (2, 15)]), dark(TAN, 0.15), edge=BROWN)
    c.paint(c.R(2, 5, 11, 15), TAN, edge=BROWN)
    top = c.P([(2, 5), (5, 2), (14, 2), (11, 5)])
    c.paint(top | c.R(2, 5, 11, 5.01), light(TAN, 0.25), edge=BROWN, hl=False, sh=False)
    c.paint(c.R(5.5, 5, 7.5, 15) | c.P([(5.5, 5), (8.5, 2), (10.5, 2), (7.5, 5)]), STEEL, edge=DARK, hl=METAL)
    c.paint(c.R(4.5, 8.5, 8.5, 11.5), METAL, edge=DARK, sh=False)


def draw_clipart(c):
    folder(c)
    landscape(c, 5.5, 6.5, 12.5, 12, frame=DARK)
    landscape(c, 8, 9, 15.5, 15.5, frame=DARK)


def picdoc(code, col):
    def draw(c):
        doc(c)
        if c.big:
            landscape(c, 4.5, 3, 11.5, 9.5)
            tag(c, 2, 9.5, 14, 15, col, code)
        else:
            landscape(c, 5, 4, 11, 9)
            tag(c, 3, 10, 13, 14, col)
    return draw


def emblem_cursor(c):
    arrow_cursor(c, 8, 5.5, 0.65)


def draw_cursor(c):
    arrow_cursor(c, 4, 0.5)


def draw_icons(c):
    tiles = [((1, 1), RED), ((8.5, 1), GREEN), ((1, 8.5), BLUE), ((8.5, 8.5), YELLOW)]
    for (x, y), col in tiles:
        c.paint(c.R(x, y, x + 6.5, y + 6.5), col)
    if c.big:
        c.paint(c.E(4.25, 4.25, 1.8), WHITE, hl=False, sh=False)
        c.paint(c.P([(11.75, 2.3), (14.2, 6.3), (9.3, 6.3)]), WHITE, hl=False, sh=False)
        c.paint(c.R(2.6, 10.2, 6.0, 13.6), WHITE, hl=False, sh=False)
        c.paint(c.P([(11.75, 9.8), (14, 11.75), (11.75, 13.8), (9.5, 11.75)]), WHITE, hl=False, sh=False)


def draw_plain(c):
    doc(c)


def draw_font(c):
    outer = c.P([(0.8, 15), (6.3, 1), (9.7, 1), (15.2, 15), (10.8, 15),
                 (9.8, 12), (6.2, 12), (5.2, 15)])
    hole = c.P([(8, 4.2), (9.5, 9.3), (6.5, 9.3)])
    c.paint(outer - hole, NAVY, edge=BLACK, hl=light(NAVY, 0.5) if c.big else False)


def draw_help(c):
    c.paint(c.R(4, 2, 14.5, 15.5), PAPER, edge=EDGE, hl=False, sh=False)
    if c.big:
        for y in range(c.p(13), c.p(15.5) - 1, 2):
            c.line(c.p(5), y, c.p(14.5) - 2, y, FOLD)
    cover = c.R(2, 0.5, 13, 14)
    c.paint(cover, (40, 120, 80), hl=True)
    c.paint(c.R(2, 0.5, 4, 14), (24, 84, 52), hl=False, sh=False)
    font, scale = (FONT5, 2) if c.big else (FONT5, 1)
    box = c.R(4, 0.5, 13, 14)
    centre_text(c, box, '?', YELLOW, font, scale)


def emblem_media(c):
    if c.big:
        film(c, 2.5, 7, 11, 13.5, pictures=False)
        note(c, 8.5, 6.5, 15.5, 15.5, PURPLE)
    else:
        film(c, 2, 7.5, 10, 13, pictures=False)
        c.sprite(10, 6, QUAVER, dark(PURPLE, 0.25))


def draw_allmedia(c):
    film(c, 0.5, 1, 13, 9.5)
    note(c, 6.5, 5.5, 15.5, 15.5, PURPLE)


def draw_midi(c):
    keys = c.R(0.5, 7, 15.5, 15.5)
    c.paint(keys, WHITE, edge=DARK, hl=False, sh=False)
    y0, y1 = c.p(7), c.p(15.5) - 1
    kw = 3.0
    for i in range(1, 5):
        x = c.p(0.5 + kw * i)
        c.line(x, y0, x, y1, DARK)
    for i in (1, 2, 4):
        bx = 0.5 + kw * i
        c.paint(c.R(bx - 1, 7, bx + 1, 12), BLACK, edge=BLACK, hl=STEEL, sh=False)
    note(c, 2, 0, 10, 7.5, NAVY)


def draw_film(c):
    film(c, 0.5, 3, 15.5, 13)


def draw_wave(c):
    c.paint(c.R(0.5, 2, 15.5, 14), (16, 40, 24), edge=BLACK, hl=False, sh=False)
    amps = [0.0, 0.3, 0.6, 0.35, 0.9, 0.5, 1.0, 0.7, 0.85, 0.4, 0.7, 0.3, 0.5, 0.15, 0.25, 0.0]
    mid = c.p(8)
    x0, x1 = c.p(0.5) + 1, c.p(15.5) - 2
    half = (c.p(14) - c.p(2)) // 2 - 2
    for x in range(x0, x1 + 1):
        a = amps[(x - x0) * len(amps) // (x1 - x0 + 1)]
        n = int(round(a * half))
        c.line(x, mid - n, x, mid + n, LED)
    c.line(x0, mid, x1, mid, (150, 255, 150))


def draw_saver(c):
    c.paint(c.R(0.5, 0.5, 15.5, 12), METAL, edge=DARK)
    screen = c.R(2, 2, 14, 10.5)
    c.paint(screen, SCREEN, edge=BLACK, hl=False, sh=False)
    for sx, sy in ((4, 4), (10.5, 3.5), (7, 7), (12, 8.5), (5, 9)):
        x, y = c.p(sx), c.p(sy)
        c.set(x, y, YELLOW)
        if c.big:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                c.set(x + dx, y + dy, WHITE if (sx + sy) % 2 else YELLOW)
    c.paint(c.R(6, 12, 10, 13.5), STEEL, edge=DARK, hl=False, sh=False)
    c.paint(c.R(3, 13.5, 13, 15.5), METAL, edge=DARK, sh=False)


def draw_setup(c):
    c.paint(c.R(1.5, 9, 14.5, 15.5), TAN, edge=BROWN)
    c.paint(c.P([(1.5, 9), (0, 6.5), (5.5, 6.5), (7, 9)]), light(TAN, 0.3), edge=BROWN, hl=False, sh=False)
    c.paint(c.P([(14.5, 9), (16, 6.5), (10.5, 6.5), (9, 9)]), light(TAN, 0.3), edge=BROWN, hl=False, sh=False)
    arrow = c.R(6, 5, 10, 11.5) | c.P([(2.5, 5.5), (8, 0), (13.5, 5.5)])
    c.paint(arrow, GREEN, hl=light(GREEN, 0.55) if c.big else False)


def draw_tempfiles(c):
    doc(c, 1.5, 0.5, 11.5, 14.5)
    text_lines(c, 3, 5, 9, 12)
    clock(c, 11, 11, 4.6)


def draw_text(c):
    doc(c)
    text_lines(c, 4.5, 5, 11.5, 14)


def draw_empty(c):
    doc(c)
    zero = c.E(8, 9.5, 3, 4.2) - c.E(8, 9.5, 1.3, 2.6)
    c.paint(zero, RED, edge=dark(RED, 0.4), hl=False, sh=False)


def draw_backup(c):
    body = c.P([(1.5, 1), (13, 1), (14.5, 2.5), (14.5, 15), (1.5, 15)])
    c.paint(body, (52, 84, 168))
    c.paint(c.R(4.5, 1, 11.5, 6), METAL, edge=DARK, sh=False)
    c.paint(c.R(8.5, 2, 10.5, 5), DARK, hl=False, sh=False)
    c.paint(c.R(3.5, 8.5, 12.5, 15), PAPER, edge=DARK, hl=False, sh=False)
    if c.big:
        text_lines(c, 5, 10.5, 11, 14.5, RED)


def emblem_globe(c):
    globe(c, 11, 10.8, 4.8)


def e_globe(c, cx, cy, r):
    """A blue ball with a light 'e' drawn into it."""
    ball = c.E(cx, cy, r)
    c.paint(ball, BLUE, hl=light(BLUE, 0.4))
    k = r / 6.0
    ring = c.E(cx, cy, 4.2 * k) - c.E(cx, cy, 2.4 * k)
    opening = c.P([(cx, cy + 0.2 * k), (cx + 5 * k, cy + 0.2 * k), (cx + 5 * k, cy + 3.2 * k)])
    bar = c.R(cx - 3.6 * k, cy - 0.8 * k, cx + 3.6 * k, cy + 0.5 * k)
    e_col = (236, 244, 255)
    c.paint((ring - opening) | bar, e_col, edge=NAVY if c.big else e_col, hl=False, sh=False)


def emblem_eglobe(c):
    e_globe(c, 11, 10.8, 4.8)


def draw_tif(c):
    globe(c, 6.5, 6.5, 6)
    clock(c, 11.2, 11.2, 4.6)


def draw_cookie(c):
    dough = c.E(8, 8.3, 7.2) - c.E(15.5, 2, 3.6)
    c.paint(dough, (214, 160, 82), edge=(120, 72, 30), hl=(240, 200, 130))
    for cx, cy in ((5, 5.5), (9, 6), (4.5, 10), (8.5, 11.5), (12, 10), (7, 8.5)):
        r = 0.9 if c.big else 0.7
        c.flat(c.E(cx, cy, r, r) & c.inner(dough), CHOC)
        c.set(c.p(cx), c.p(cy), CHOC)


def draw_opera(c):
    ring = c.E(8, 8, 7.2) - c.E(8, 8, 3.6)
    c.paint(ring, RED, edge=(120, 16, 16), hl=(250, 130, 120))


def draw_wheel(c):
    wood = (170, 108, 50)
    d = 0.7071
    spokes = set()
    for dx, dy in ((1, 0), (0, 1), (d, d), (d, -d)):
        spokes |= c.L(8 - 7.4 * dx, 8 - 7.4 * dy, 8 + 7.4 * dx, 8 + 7.4 * dy, 1.4)
    rim = c.E(8, 8, 5.6) - c.E(8, 8, 3.8)
    hub = c.E(8, 8, 1.9)
    if c.big:
        c.paint(spokes | rim | hub, wood, edge=(84, 48, 18), hl=(220, 170, 110))
    else:
        c.flat(spokes | rim | hub, (128, 76, 30))
    if c.big:
        c.set(c.p(8), c.p(8), (84, 48, 18))


def draw_recent(c):
    doc(c, 1.5, 0.5, 11.5, 14.5)
    text_lines(c, 3, 5, 9, 12)
    cx, cy, r = 11, 11, 4.8
    c.paint(c.E(cx, cy, r - 1.2), WHITE, edge=WHITE, hl=False, sh=False)
    ring = c.E(cx, cy, r) - c.E(cx, cy, r - 1.6)
    gap = c.P([(cx, cy), (cx - 7, cy - 7), (cx - 7, cy + 1)])
    c.paint(ring - gap, GREEN, edge=dark(GREEN, 0.5), hl=False, sh=False)
    head = c.P([(cx - r - 1.6, cy - 1.2), (cx - r + 2.4, cy - 1.2), (cx - r + 0.4, cy + 2.2)])
    c.paint(head, GREEN, edge=dark(GREEN, 0.5), hl=False, sh=False)
    x, y = c.p(cx), c.p(cy)
    n = max(2, int(r * c.u * 0.45))
    c.line(x, y, x, y - n, INK)
    c.line(x, y, x + n - 1, y, INK)


def emblem_clock(c):
    clock(c, 11, 10.8, 4.8)


def draw_html(c):
    doc(c)
    w = 1.3 if c.big else 1.1
    m = c.L(7, 6, 4.6, 9, w) | c.L(4.6, 9, 7, 12, w)
    m |= c.L(9, 6, 11.4, 9, w) | c.L(11.4, 9, 9, 12, w)
    c.paint(m, ORANGE, edge=dark(ORANGE, 0.5), hl=False, sh=False)
    if c.big:
        text_lines(c, 4.5, 13, 11.5, 14.5)


def draw_mp3(c):
    if c.big:
        note(c, 3.5, 0, 12.5, 9.5, PURPLE)
        tag(c, 0.5, 10, 15.5, 16, (40, 120, 180), 'MP3')
    else:
        note(c, 4, 0, 12, 8.5, PURPLE)
        tag(c, 1, 9, 15, 16, (40, 120, 180), 'MP3')


def draw_search(c):
    magnifier(c, 6.3, 6.3, 5.2, handle=1.75)


CATEGORIES = {
    0: draw_root,
    1: draw_archive,
    2: draw_clipart,
    3: picdoc('BMP', (40, 90, 200)),
    4: picdoc('CDR', (36, 146, 60)),
    5: picdoc('CGM', (0, 138, 138)),
    6: picdoc('DIP', (80, 64, 170)),
    7: picdoc('EPS', (72, 72, 84)),
    8: picdoc('GIF', (226, 116, 16)),
    9: picdoc('JPG', (200, 38, 38)),
    10: picdoc('PCD', (150, 58, 170)),
    11: picdoc('PCT', (134, 96, 60)),
    12: picdoc('PCX', (112, 136, 16)),
    13: picdoc('TGA', (168, 28, 84)),
    14: picdoc('TIF', (210, 76, 150)),
    15: picdoc('WMF', (0, 140, 200)),
    16: emblem_folder(emblem_cursor),
    17: draw_cursor,
    18: draw_icons,
    19: draw_plain,
    20: draw_font,
    21: draw_help,
    22: emblem_folder(emblem_media),
    23: draw_allmedia,
    24: draw_midi,
    25: draw_film,
    26: draw_wave,
    27: draw_saver,
    28: draw_setup,
    29: draw_tempfiles,
    30: draw_text,
    31: draw_empty,
    32: draw_plain,
    33: draw_plain,
    34: draw_backup,
    35: emblem_folder(emblem_globe),
    36: emblem_folder(emblem_eglobe),
    37: draw_tif,
    38: draw_cookie,
    39: draw_opera,
    40: draw_plain,
    41: draw_wheel,
    42: draw_recent,
    43: emblem_folder(emblem_clock),
    44: draw_html,
    45: draw_mp3,
    46: draw_search,
}


# ---------------------------------------------------------------------------
# Program icon and dialog pictures
# ---------------------------------------------------------------------------

def draw_program(c):
    card_box(c)
    c.paint(c.R(1, 6, 15, 15.5), WOOD, edge=BROWN)
    c.paint(c.R(2.5, 8.5, 6.5, 11), PAPER, edge=BROWN, hl=False, sh=False)
    magnifier(c, 10.3, 9.3, 3.6, handle=1.5)


def draw_startup(c):
    disc = c.E(10, 5.5, 5.5, 5.0)
    c.paint(disc, (214, 220, 232), edge=STEEL, hl=WHITE if c.big else False)
    if c.big:
        c.paint(c.E(10, 5.5, 1.5, 1.4), WHITE, edge=STEEL, hl=False, sh=False)
        c.flat(c.border(c.E(10, 5.5, 3.6, 3.3)) & c.inner(disc), (170, 196, 236))
    else:
        c.flat(c.E(10, 5.5, 1.2, 1.0), STEEL)
    drive(c, 0.5, 7.5, 12.5, 12.5)
    drive(c, 2.5, 11, 15.5, 15.5)


def draw_wait(c):
    c.paint(c.R(2.5, 0.5, 13.5, 2.5), WOOD, edge=BROWN)
    c.paint(c.R(2.5, 13.5, 13.5, 15.5), WOOD, edge=BROWN)
    glass = c.P([(4, 2.5), (12, 2.5), (12, 4), (9, 8), (12, 12), (12, 13.5),
                 (4, 13.5), (4, 12), (7, 8), (4, 4)])
    c.paint(glass, GLASS, edge=STEEL, hl=WHITE, sh=False)
    sand = (232, 186, 70)
    inside = c.inner(glass)
    c.flat(c.P([(5.5, 4.8), (10.5, 4.8), (8, 7.6)]) & inside, sand)
    c.flat(c.P([(8, 9.5), (11.5, 13.5), (4.5, 13.5)]) & inside, sand)
    c.flat(c.R(7.6, 7, 8.4, 13) & inside, sand)


def draw_scan(c):
    drive(c, 0.5, 8.5, 15.5, 15)
    magnifier(c, 6, 6, 4.6, handle=1.8)


# ---------------------------------------------------------------------------
# Tool bar pictures (32x32 each)
# ---------------------------------------------------------------------------

def tb_file(c):
    doc(c)
    text_lines(c, 4.5, 5, 11.5, 14)


def tb_edit(c):
    doc(c, 1.5, 1, 11.5, 15)
    text_lines(c, 3, 5, 10, 14)
    c.paint(c.L(7.8, 11.2, 13.4, 5.6, 3.0), YELLOW, edge=(130, 100, 20))
    c.paint(c.L(13.4, 5.6, 15.2, 3.8, 3.0), PINK, edge=(140, 60, 70))
    tip = c.P([(6.74, 10.14), (8.86, 12.26), (5.2, 13.8)])
    c.paint(tip, TAN, edge=BROWN, hl=False, sh=False)
    c.flat(c.P([(5.6, 12.4), (6.4, 13.2), (5.2, 13.8)]) | {(c.p(5.5), c.p(13.5))}, INK)


def tb_view(c):
    eye = c.E(8, 14, 9.6) & c.E(8, 2, 9.6)
    c.paint(eye, WHITE, edge=INK, hl=False, sh=FOLD)
    c.paint(c.E(8, 8, 3.3) & eye, (60, 130, 210), edge=NAVY, hl=False)
    c.flat(c.E(8, 8, 1.5), BLACK)
    c.set(c.p(7), c.p(7), WHITE)


def tb_delete(c):
    doc(c)
    text_lines(c, 4.5, 5, 11.5, 14)
    cross(c, 10.5, 10.5, 4)


def tb_search(c):
    magnifier(c, 6.5, 6.5, 5, handle=1.7)


def tb_preview(c):
    c.paint(c.R(0.5, 1.5, 15.5, 14.5), WOOD, edge=BROWN)
    landscape(c, 2.5, 3.5, 13.5, 12.5, frame=BROWN)


def tb_options(c):
    d = 0.7071
    teeth = set()
    for dx, dy in ((1, 0), (0, 1), (d, d), (d, -d)):
        teeth |= c.L(8 - 7 * dx, 8 - 7 * dy, 8 + 7 * dx, 8 + 7 * dy, 2.6)
    gear = (teeth | c.E(8, 8, 5.2)) - c.E(8, 8, 2)
    c.paint(gear, (150, 156, 170), edge=DARK, hl=WHITE)


def tb_clean(c):
    globe(c, 7, 7, 6.3)
    cross(c, 11.5, 11.5, 3.5)


def tb_info(c):
    ball = c.E(8, 8, 7.3)
    c.paint(ball, BLUE, hl=light(BLUE, 0.4))
    c.paint(c.E(8, 4.3, 1.4) | c.R(6.7, 6.5, 9.3, 12) | c.R(5.5, 11, 10.5, 12.5), WHITE, edge=WHITE,
            hl=False, sh=False)


TOOLBAR = [tb_file, tb_edit, tb_view, tb_delete, tb_search,
           tb_preview, tb_options, tb_clean, tb_info]


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def render(draw, size):
    c = Canvas(size)
    draw(c)
    return c


def ico_bytes(images):
    """ICO file with one 32-bit BGRA image (plus AND mask) per canvas."""
    head = struct.pack('<HHH', 0, 1, len(images))
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for c in images:
        w, h = c.w, c.h
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                p = c.px[y][x]
                xor += bytes((p[2], p[1], p[0], 255)) if p else b'\0\0\0\0'
        stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(stride)
            for x in range(w):
                if c.px[y][x] is None:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        info = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0,
                           len(xor) + len(mask), 0, 0, 0, 0)
        data = info + bytes(xor) + bytes(mask)
        entries += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32,
                               len(data), offset)
        blobs += data
        offset += len(data)
    return head + entries + blobs


def bmp_bytes(c, key=(255, 0, 255)):
    """24-bit bottom-up BMP; transparent pixels become the key colour."""
    stride = (c.w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(c.h - 1, -1, -1):
        row = bytearray()
        for x in range(c.w):
            p = c.px[y][x] or key
            row += bytes((p[2], p[1], p[0]))
        row += b'\0' * (stride - len(row))
        pixels += row
    info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0,
                       14 + len(info))
    return head + info + bytes(pixels)


def write(name, data):
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(data)
    print('wrote', os.path.join('catalogue', 'shell', 'res', name))


# The sizes every picture is drawn at: the small ones for 100, 125, 150 and 200 % scaling, the
# large ones likewise. The programs choose the best fit for the screen at start.
SMALL_SIZES = (16, 20, 24, 32)
LARGE_SIZES = (32, 40, 48, 64)
ICON_SIZES = sorted(set(SMALL_SIZES + LARGE_SIZES))


def main():
    os.makedirs(OUT, exist_ok=True)
    for cid in sorted(CATEGORIES):
        draw = CATEGORIES[cid]
        write('category_%02d.ico' % cid, ico_bytes([render(draw, s) for s in ICON_SIZES]))
    write('sortaro.ico', ico_bytes([render(draw_program, s) for s in ICON_SIZES]))
    for name, draw in (('startup', draw_startup), ('wait', draw_wait), ('scan', draw_scan)):
        write(name + '.ico', ico_bytes([render(draw, s) for s in ICON_SIZES]))
    # One strip per size; the 32 pixel one keeps its old name.
    for size in LARGE_SIZES:
        strip = Canvas(size * len(TOOLBAR), size, unit=size / 16.0)
        for i, draw in enumerate(TOOLBAR):
            strip.blit(render(draw, size), size * i, 0)
        write('toolbar.bmp' if size == 32 else 'toolbar_%d.bmp' % size, bmp_bytes(strip))


if __name__ == '__main__':
    main()
