#!/usr/bin/env python3
"""Draw the pictures of setup.exe and write them into setup/res/: the program
icon, the backdrop (stretched over the whole screen), the header picture of
the wizard pages and the tall picture on their left.

Uses the canvas, the shapes and the file writers of make-pictures.py, so the
installer's pictures share the look of Sortaro's.  Standard library only,
deterministic output.  Run it from anywhere:
`python3 tools/make-setup-pictures.py`.
"""

import importlib.util
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), 'setup', 'res')

_source = importlib.util.spec_from_file_location('pictures', os.path.join(HERE, 'make-pictures.py'))
pic = importlib.util.module_from_spec(_source)
_source.loader.exec_module(pic)


def on_white(canvas):
    """The same picture with its transparent pixels made white."""
    out = pic.Canvas(canvas.w, canvas.h, unit=canvas.u)
    out.fill(0, 0, canvas.w - 1, canvas.h - 1, pic.WHITE)
    out.blit(canvas, 0, 0)
    return out


def draw_box_with_cards(c):
    """An open card box with the catalogue's cards and the installer's arrow."""
    pic.draw_root(c)
    arrow = c.R(11, 9, 14, 14.5) | c.P([(9, 9.5), (12.5, 5.5), (16, 9.5)])
    c.paint(arrow, pic.GREEN, hl=pic.light(pic.GREEN, 0.55) if c.big else False)


def backdrop():
    """A deep blue, lighter towards the bottom, with faint diagonal stripes."""
    w, h = 256, 192
    c = pic.Canvas(w, h, unit=1)
    top, bottom = (10, 24, 84), (40, 92, 178)
    for y in range(h):
        base = pic.mix(top, bottom, y / (h - 1))
        for x in range(w):
            stripe = ((x + y) // 6) % 8 == 0
            c.set(x, y, pic.light(base, 0.06) if stripe else base)
    return c


def panel():
    """The left picture of the pages: white, a blue band and the card box."""
    w, h = 169, 257
    c = pic.Canvas(w, h, unit=1)
    c.fill(0, 0, w - 1, h - 1, pic.WHITE)
    for x in range(18):
        c.fill(x, 0, x, h - 1, pic.mix(pic.NAVY, pic.SEA, x / 17))
    art = pic.render(draw_box_with_cards, 112)
    c.blit(art, 18 + (w - 18 - 112) // 2, 40)
    word = 'SORTARO'
    scale = 2
    tw = pic.FONT5.width(word, scale)
    c.text(18 + (w - 18 - tw) // 2, 176, word, pic.NAVY, pic.FONT5, scale)
    word = 'SETUP'
    tw = pic.FONT3.width(word, 2)
    c.text(18 + (w - 18 - tw) // 2, 200, word, pic.STEEL, pic.FONT3, 2)
    return c


def write(name, data):
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(data)
    print('wrote', os.path.join('setup', 'res', name))


def main():
    os.makedirs(OUT, exist_ok=True)
    write('setup.ico', pic.ico_bytes([pic.render(draw_box_with_cards, s) for s in (16, 32, 48)]))
    write('header.bmp', pic.bmp_bytes(on_white(pic.render(draw_box_with_cards, 48))))
    write('panel.bmp', pic.bmp_bytes(panel()))
    write('backdrop.bmp', pic.bmp_bytes(backdrop()))


if __name__ == '__main__':
    main()
