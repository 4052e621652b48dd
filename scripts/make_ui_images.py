#!/usr/bin/env python3
"""Draws the calculator's 16-pixel icons and writes them as XPM strips for src/ui/images/:
tree_images.xpm (images 0 to 8 of the trees, mask colour pure red) and command_images.xpm
(the image menu's strip, 25 images, mask colour RGB 0, 128, 128). Run it again after changing a
drawing; the output is committed."""
import pathlib
import sys

SIZE = 16
PALETTE = {
    "m": None,  # the mask colour, set per strip
    "k": "#000000", "w": "#FFFFFF", "g": "#808080", "l": "#C0C0C0",
    "y": "#F0C040", "Y": "#C89010", "b": "#2060C0", "B": "#103070",
    "r": "#C02020", "n": "#20A040", "N": "#107020", "o": "#F08020",
    "c": "#60B0E0", "p": "#8040A0",
}


class Icon:
    def __init__(self):
        self.px = [["m"] * SIZE for _ in range(SIZE)]

    def set(self, x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, fill=None, edge=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = x in (x0, x1) or y in (y0, y1)
                if border and edge:
                    self.set(x, y, edge)
                elif fill:
                    self.set(x, y, fill)

    def hline(self, x0, x1, y, c):
        for x in range(x0, x1 + 1):
            self.set(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(y0, y1 + 1):
            self.set(x, y, c)

    def disc(self, cx, cy, r, fill, edge=None):
        for y in range(SIZE):
            for x in range(SIZE):
                d = (x - cx) ** 2 + (y - cy) ** 2
                if d <= r * r:
                    self.set(x, y, fill)
                    if edge and d > (r - 1) ** 2:
                        self.set(x, y, edge)

    def triangle(self, direction, x0, y0, size, c):
        # A filled arrow head pointing left, right, up or down.
        for i in range(size):
            for j in range(-i, i + 1):
                if direction == "right":
                    self.set(x0 + size - 1 - i, y0 + j, c)
                elif direction == "left":
                    self.set(x0 + i, y0 + j, c)
                elif direction == "down":
                    self.set(x0 + j, y0 + size - 1 - i, c)
                else:
                    self.set(x0 + j, y0 + i, c)


def database():
    i = Icon()
    i.rect(3, 3, 12, 13, "l", "k")
    for y in (3, 6, 9, 13):
        i.hline(3, 12, y, "k")
    i.hline(4, 11, 4, "w")
    i.hline(4, 11, 7, "w")
    i.hline(4, 11, 10, "w")
    return i


def folder(open_):
    i = Icon()
    i.rect(1, 3, 6, 5, "Y", "k")
    i.rect(1, 5, 14, 13, "y", "k")
    if open_:
        for y in range(8, 14):
            i.hline(3 + (13 - y) // 2, 15 - (13 - y) // 3, y, "Y")
        i.hline(3, 15, 8, "k")
    return i


def variant():
    i = Icon()
    i.rect(2, 2, 13, 13, "w", "g")
    for y in (5, 8, 11):
        i.rect(4, y - 1, 5, y, "n")
        i.hline(7, 11, y, "k")
    return i


def io_point():
    i = Icon()
    i.disc(7.5, 7.5, 5.5, "n", "N")
    i.rect(6, 6, 9, 9, "w")
    return i


def module():
    i = Icon()
    i.rect(3, 1, 12, 14, "b", "B")
    for y in (3, 6, 9, 12):
        i.rect(5, y, 6, y, "n")
        i.hline(8, 10, y, "c")
    return i


def device():
    i = Icon()
    i.rect(0, 3, 15, 13, "l", "k")
    i.rect(2, 5, 6, 11, "g", "k")
    for x in (9, 11, 13):
        i.set(x, 6, "n")
        i.set(x, 9, "r")
    return i


def series():
    i = Icon()
    for n, (x, y) in enumerate(((1, 1), (4, 4), (7, 7))):
        i.rect(x, y, x + 7, y + 7, "lwl"[n], "k")
    return i


def terminal():
    i = Icon()
    i.rect(1, 1, 14, 14, "g", "k")
    i.rect(3, 3, 12, 7, "n", "N")
    for x in (3, 6, 9, 12):
        i.rect(x, 10, x + 1, 11, "w")
    return i


def help_mark():
    i = Icon()
    i.disc(7.5, 7.5, 7, "b", "B")
    for x, y in ((6, 4), (7, 3), (8, 3), (9, 4), (10, 5), (9, 6), (8, 7), (8, 8), (7, 8)):
        i.set(x, y, "w")
        i.set(x, y + 1, "w") if y < 5 and x in (9, 10) else None
    i.rect(7, 11, 8, 12, "w")
    return i


def arrow(direction):
    i = Icon()
    if direction == "left":
        i.triangle("left", 3, 7, 6, "b")
        i.rect(9, 5, 12, 9, "b")
    else:
        i.triangle("right", 7, 7, 6, "b")
        i.rect(3, 5, 6, 9, "b")
    return i


def set_count():
    i = Icon()
    i.rect(1, 4, 14, 11, "w", "k")
    for x in (3, 4, 5):
        i.vline(x, 6, 9, "k") if x == 4 else None
    i.set(3, 7, "k")
    i.hline(7, 9, 6, "k")
    i.vline(9, 6, 9, "k")
    i.hline(7, 9, 9, "k")
    i.vline(7, 8, 9, "k")
    i.hline(7, 9, 8, "k")
    i.vline(12, 6, 9, "r")
    return i


def detail():
    i = Icon()
    i.rect(2, 1, 13, 14, "w", "k")
    for y in (4, 6, 8, 10, 12):
        i.hline(4, 11 if y % 4 else 9, y, "g")
    return i


def clipboard():
    i = Icon()
    i.rect(2, 2, 13, 15, "Y", "k")
    i.rect(5, 1, 10, 3, "l", "k")
    i.rect(4, 5, 11, 13, "w")
    for y in (7, 9, 11):
        i.hline(5, 10, y, "g")
    return i


def run():
    i = Icon()
    i.disc(7.5, 7.5, 7, "n", "N")
    i.triangle("right", 6, 7, 5, "w")
    return i


def clear():
    i = Icon()
    for d in range(11):
        for w in (0, 1):
            i.set(2 + d + w, 2 + d, "r")
            i.set(13 - d - w, 2 + d, "r")
    return i


def update():
    i = Icon()
    i.disc(7.5, 7.5, 7, "c", "b")
    i.rect(6, 2, 9, 8, "w")
    i.triangle("down", 7, 8, 5, "w")
    i.set(8, 12, "w")
    return i


def glyph(rows, colour="k", x0=0, y0=0):
    # A letter drawn from text rows, "#" for a pixel.
    i = Icon()
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c == "#":
                i.set(x0 + x, y0 + y, colour)
    return i


def bold():
    return glyph(["#######", "###  ###", "###  ###", "###  ###", "#######", "###  ###",
                  "###  ###", "###  ###", "#######"], "k", 4, 3)


def italic():
    return glyph(["   #####", "    ##", "    ##", "   ##", "   ##", "  ##", "  ##", " ##",
                  "#####"], "k", 4, 3)


def underline():
    i = glyph(["##    ##", "##    ##", "##    ##", "##    ##", "##    ##", "##    ##",
               " ##  ##", "  ####"], "k", 4, 2)
    i.hline(3, 12, 13, "k")
    i.hline(3, 12, 14, "k")
    return i


def colour():
    i = glyph(["   ##", "  ####", "  #  #", " ##  ##", " ######", "##    ##", "##    ##"],
              "k", 4, 1)
    i.rect(1, 11, 14, 14, "r", "k")
    return i


def picture():
    i = Icon()
    i.rect(0, 2, 15, 13, "c", "k")
    i.disc(4.5, 5.5, 1.6, "y")
    for x in range(1, 15):
        top = 12 - min(abs(x - 9), 5) if x > 4 else 11 - min(abs(x - 3), 2)
        i.vline(x, max(top, 6), 12, "N" if x > 4 else "n")
    return i


def crossed(icon):
    for d in range(9):
        for w in (0, 1):
            icon.set(6 + d + w - 1, 6 + d, "r")
            icon.set(15 - d - w + 1 - 1, 6 + d, "r")
    return icon


def with_arrow(icon, direction):
    if direction == "left":
        icon.triangle("left", 0, 12, 4, "r")
        icon.rect(4, 11, 6, 13, "r")
    else:
        icon.triangle("right", 11, 12, 4, "r")
        icon.rect(9, 11, 11, 13, "r")
    return icon


def write_strip(path, name, icons, mask):
    width = SIZE * len(icons)
    rows = []
    for y in range(SIZE):
        rows.append("".join("".join(icon.px[y]) if icon else "m" * SIZE for icon in icons))
    used = sorted({c for row in rows for c in row})
    colours = {**PALETTE, "m": mask}
    lines = [f"/* XPM */", f"static const char* const {name}[] = {{",
             f'"{width} {SIZE} {len(used)} 1",']
    lines += [f'"{c} c {colours[c]}",' for c in used]
    lines += [f'"{row}",' for row in rows]
    lines[-1] = lines[-1].rstrip(",")
    lines.append("};")
    path.write_text("\n".join(lines) + "\n", encoding="ascii")


def main():
    out = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src/ui/images")
    tree = [database(), folder(False), folder(True), variant(), io_point(), module(), device(),
            series(), terminal()]
    write_strip(out / "tree_images.xpm", "tree_images_xpm", tree, "#FF0000")
    strip = [None] * 25
    strip[0] = bold()
    strip[1] = italic()
    strip[2] = underline()
    strip[3] = colour()
    strip[4] = picture()
    strip[9] = crossed(variant())
    strip[18] = with_arrow(io_point(), "left")
    strip[19] = with_arrow(io_point(), "right")
    strip[20] = crossed(io_point())
    strip[5] = help_mark()
    strip[10] = arrow("left")
    strip[11] = arrow("right")
    strip[12] = set_count()
    strip[16] = detail()
    strip[17] = clipboard()
    strip[22] = run()
    strip[23] = clear()
    strip[24] = update()
    write_strip(out / "command_images.xpm", "command_images_xpm", strip, "#008080")


if __name__ == "__main__":
    main()
