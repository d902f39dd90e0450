#!/usr/bin/env python3
"""Writes the stroke-font tables of the text renderer as a C++ source.

    make_font_table.py FONTS_DIR OUTPUT.cpp

FONTS_DIR holds the Hershey fonts in James Hurt's .jhf format (Debian's
hershey-fonts-data installs them in /usr/share/hershey-fonts). Each of those
files has 96 glyphs, one for each of the code points 32 to 127 in order;
the Greek, Cyrillic and maths files put their own letters at those places.

Two faces come out: a roman simplex (rowmans) and a sans (futural). They
share the Greek and Cyrillic letters, the maths signs and the accented
Latin letters, which are put together here from a base letter and an accent
mark. Glyph points are in font units: x from the glyph's left edge, y up
from the baseline.
"""
import math
import os
import sys

BASELINE = 9  # the .jhf y of the baseline; y grows downwards there
PEN_UP = -128


class Glyph:
    def __init__(self, left, right, strokes):
        self.left = left
        self.right = right
        self.strokes = strokes  # lists of (x, y) in .jhf units

    def ink(self):
        points = [p for s in self.strokes for p in s]
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        return min(xs), min(ys), max(xs), max(ys)

    def plus(self, strokes):
        return Glyph(self.left, self.right, self.strokes + strokes)


def read_jhf(path):
    """The 96 glyphs of a .jhf file. A glyph longer than a line goes on in
    the next lines, as in the files that keep to 72 columns."""
    with open(path, encoding="latin-1") as f:
        lines = [line.rstrip("\r\n") for line in f]
    glyphs = []
    i = 0
    while i < len(lines):
        record = lines[i]
        i += 1
        if not record.strip():
            continue
        count = int(record[5:8])
        while len(record) - 8 < 2 * count and i < len(lines):
            record += lines[i]
            i += 1
        data = record[8:8 + 2 * count]
        left, right = ord(data[0]) - 82, ord(data[1]) - 82
        strokes, stroke = [], []
        for k in range(2, len(data), 2):
            if data[k:k + 2] == " R":
                if stroke:
                    strokes.append(stroke)
                stroke = []
            else:
                stroke.append((ord(data[k]) - 82, ord(data[k + 1]) - 82))
        if stroke:
            strokes.append(stroke)
        glyphs.append(Glyph(left, right, strokes))
    if len(glyphs) != 96:
        sys.exit(f"{path}: {len(glyphs)} glyphs, expected 96")
    return glyphs


def at(glyphs, char):
    return glyphs[ord(char) - 32]


# Accent marks drawn above a letter, in .jhf units: x about the letter's
# middle, y upwards from 0 at the mark's foot (so negative is higher).
DOT = [(0, -2), (-1, -1), (0, 0), (1, -1), (0, -2)]
ACCENTS = {
    "grave": [[(-2, -4), (1, 0)]],
    "acute": [[(2, -4), (-1, 0)]],
    "circumflex": [[(-3, 0), (0, -3), (3, 0)]],
    "tilde": [[(-4, -1), (-3, -2), (-1, -2), (1, 0), (3, 0), (4, -1)]],
    "diaeresis": [[(x - 3, y) for x, y in DOT], [(x + 3, y) for x, y in DOT]],
    "ring": [[(-1, -4), (1, -4), (2, -3), (2, -1), (1, 0), (-1, 0), (-2, -1), (-2, -3), (-1, -4)]],
    "breve": [[(-3, -3), (-2, -1), (0, 0), (2, -1), (3, -3)]],
}
# The cedilla hangs from the baseline, y downwards from it.
CEDILLA = [[(0, 0), (0, 2), (2, 3), (1, 5), (-1, 5)]]


def with_accent(base, name):
    """base with the accent above its ink, centred on the ink."""
    x0, y0, x1, _ = base.ink()
    mid = (x0 + x1) // 2
    foot = y0 - 2
    return base.plus([[(mid + x, foot + y) for x, y in s] for s in ACCENTS[name]])


def with_cedilla(base):
    x0, _, x1, _ = base.ink()
    mid = (x0 + x1) // 2
    return base.plus([[(mid + x, BASELINE + y) for x, y in s] for s in CEDILLA])


def with_slash(base):
    """base crossed by a stroke from below its lower left to past its upper right."""
    x0, y0, x1, y1 = base.ink()
    return base.plus([[(x0 - 1, y1 + 1), (x1 + 1, y0 - 1)]])


def small_of(capital, x_height, cap_height):
    """The capital shrunk about its left edge and the baseline to the height
    of the small letters."""

    def shrink(v, origin):
        return origin + round((v - origin) * x_height / cap_height)

    strokes = [[(shrink(x, capital.left), shrink(y, BASELINE)) for x, y in s] for s in capital.strokes]
    return Glyph(capital.left, shrink(capital.right, capital.left), strokes)


def dotless(base, x_top):
    """base without the strokes that lie wholly above x_top (the dot of i)."""
    return Glyph(base.left, base.right, [s for s in base.strokes if max(y for _, y in s) > x_top])


LATIN1_ACCENTS = {
    "grave": "AÀEÈIÌOÒUÙaàeèiìoòuù",
    "acute": "AÁEÉIÍOÓUÚYÝaáeéiíoóuúyý",
    "circumflex": "AÂEÊIÎOÔUÛaâeêiîoôuû",
    "tilde": "AÃNÑOÕaãnñoõ",
    "diaeresis": "AÄEËIÏOÖUÜaäeëiïoöuüyÿ",
    "ring": "AÅaå",
}

# Greek letters in the order of the simplex Greek file, from A and from a.
GREEK_UPPER = "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ"
GREEK_LOWER = "αβγδεζηθικλμνξοπρστυφχψω"

# Where the Cyrillic file keeps each letter (a phonetic keyboard order).
CYRILLIC = {
    "А": "A", "Б": "B", "В": "V", "Г": "G", "Д": "D", "Е": "[", "Ж": "H", "З": "Z",
    "И": "I", "К": "K", "Л": "L", "М": "M", "Н": "N", "О": "O", "П": "P", "Р": "R",
    "С": "S", "Т": "T", "У": "Y", "Ф": "F", "Х": "X", "Ц": "`", "Ч": "J", "Ш": "Q",
    "Щ": "W", "Ъ": "]", "Ы": "$", "Ь": "_", "Э": "C", "Ю": "U", "Я": "^",
    "а": "a", "б": "b", "в": "v", "г": "g", "д": "d", "е": "{", "ж": "h", "з": "z",
    "и": "i", "й": "e", "к": "k", "л": "l", "м": "m", "н": "n", "о": "o", "п": "p",
    "р": "r", "с": "s", "т": "t", "у": "y", "ф": "f", "х": "x", "ц": "%", "ч": "j",
    "ш": "q", "щ": "w", "ъ": "|", "ы": "&", "ь": "~", "ю": "u", "я": "}",
}

# Signs from the maths file.
MATHS = {"±": "!", "×": "#", "·": "$", "÷": "x", "°": "`"}


def face_glyphs(ascii_glyphs, greek, cyrillic, maths):
    """Code point -> Glyph for one face."""
    out = {}
    for code in range(32, 127):
        out[code] = ascii_glyphs[code - 32]
    x_top = at(ascii_glyphs, "x").ink()[1]
    for name, pairs in LATIN1_ACCENTS.items():
        for base, accented in zip(pairs[0::2], pairs[1::2]):
            glyph = out[ord(base)]
            if base == "i":
                glyph = dotless(glyph, x_top)
            out[ord(accented)] = with_accent(glyph, name)
    out[ord("Ç")] = with_cedilla(out[ord("C")])
    out[ord("ç")] = with_cedilla(out[ord("c")])
    out[ord("Ø")] = with_slash(out[ord("O")])
    out[ord("ø")] = with_slash(out[ord("o")])
    out[0x2300] = out[ord("Ø")]  # the diameter sign of dimensions
    out[0x00A0] = out[ord(" ")]  # no-break space
    for letter, slot in zip(GREEK_UPPER, range(ord("A"), ord("Z"))):
        out[ord(letter)] = greek[slot - 32]
    for letter, slot in zip(GREEK_LOWER, range(ord("a"), ord("z"))):
        out[ord(letter)] = greek[slot - 32]
    out[ord("ς")] = out[ord("σ")]
    out[ord("µ")] = out[ord("μ")]  # the micro sign
    for letter, slot in CYRILLIC.items():
        out[ord(letter)] = at(cyrillic, slot)
    # The file repeats the capital Э where the small one belongs.
    cyrillic_cap = BASELINE - at(cyrillic, "H").ink()[1]
    cyrillic_x = BASELINE - at(cyrillic, "x").ink()[1]
    out[ord("э")] = small_of(out[ord("Э")], cyrillic_x, cyrillic_cap)
    out[ord("Й")] = with_accent(out[ord("И")], "breve")
    out[ord("Ё")] = with_accent(out[ord("Е")], "diaeresis")
    out[ord("ё")] = with_accent(out[ord("е")], "diaeresis")
    for sign, slot in MATHS.items():
        out[ord(sign)] = at(maths, slot)
    return out


def encode(glyph):
    """Points relative to the glyph's left edge, y up, pen-ups between strokes."""
    points = []
    for s in glyph.strokes:
        if points:
            points.append((PEN_UP, PEN_UP))
        points.extend((x - glyph.left, BASELINE - y) for x, y in s)
    for x, y in points:
        if (x, y) != (PEN_UP, PEN_UP) and not (-127 <= x <= 127 and -127 <= y <= 127):
            sys.exit(f"glyph point ({x}, {y}) out of range")
    return tuple(points)


# Round strokes are also kept as circular arcs, so that a drawing can hold a
# bow as one arc instead of its many short lines. A run of stroke points
# becomes an arc when every point and every chord's midpoint lies within
# ARC_TOLERANCE font units of the circle through its first, middle and last
# points, and the stroke turns the same way at each point by at most
# ARC_MAX_TURN degrees (so corners stay corners).
ARC_TOLERANCE = 0.5
ARC_MAX_TURN = 50.0


def circle_through(a, b, c):
    """Centre of the circle through three points; None when they line up."""
    (ax, ay), (bx, by), (cx, cy) = a, b, c
    d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by))
    if d == 0:
        return None
    a2, b2, c2 = ax * ax + ay * ay, bx * bx + by * by, cx * cx + cy * cy
    return ((a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d,
            (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d)


def turning(points):
    """The signed turn at each inner point, in degrees."""
    turns = []
    for i in range(1, len(points) - 1):
        (x0, y0), (x1, y1), (x2, y2) = points[i - 1], points[i], points[i + 1]
        t = math.degrees(math.atan2(y2 - y1, x2 - x1) - math.atan2(y1 - y0, x1 - x0))
        turns.append((t + 180) % 360 - 180)
    return turns


def arc_of(points):
    """(centre, counterclockwise) when the points follow one arc, else None."""
    turns = turning(points)
    if any(t == 0 or abs(t) > ARC_MAX_TURN for t in turns) or len({t > 0 for t in turns}) != 1:
        return None
    centre = circle_through(points[0], points[len(points) // 2], points[-1])
    if centre is None:
        return None
    radius = math.dist(centre, points[0])
    near = list(points) + [((x0 + x1) / 2, (y0 + y1) / 2) for (x0, y0), (x1, y1) in zip(points, points[1:])]
    if any(abs(math.dist(centre, p) - radius) > ARC_TOLERANCE for p in near):
        return None
    return centre, turns[0] > 0


def fit_arcs(points):
    """Arcs over runs of the encoded points, each as (first index, last
    index, centre, counterclockwise), longest runs first from each start."""
    arcs, start = [], 0
    while start < len(points):
        end = start
        while end + 1 < len(points) and points[end + 1][0] != PEN_UP:
            end += 1
        i = start
        while i < end:
            best, j = None, i + 2
            while j <= end:
                found = arc_of(points[i:j + 1])
                if found is None:
                    break
                best, j = (j, found), j + 1
            if best is None:
                i += 1
                continue
            last, (centre, ccw) = best
            arcs.append((i, last, centre, ccw))
            i = last
        start = end + 2
    return arcs


def missing_box(capital):
    """A box as wide as the capital H's ink and as tall as a capital."""
    x0, y0, x1, y1 = capital.ink()
    corners = [(x0, y1), (x1, y1), (x1, y0), (x0, y0), (x0, y1)]
    return Glyph(capital.left, capital.right, [corners])


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_font_table.py FONTS_DIR OUTPUT.cpp")
    fonts_dir, output = sys.argv[1], sys.argv[2]

    def load(name):
        return read_jhf(os.path.join(fonts_dir, name + ".jhf"))

    greek, cyrillic, maths = load("greeks"), load("cyrillic"), load("mathlow")
    faces = [("Simplex", load("rowmans")), ("Sans", load("futural"))]

    pool, offsets, arc_pool = [], {}, []

    def place(glyph):
        if not 0 <= glyph.right - glyph.left <= 255:
            sys.exit(f"glyph advance {glyph.right - glyph.left} does not fit a byte")
        points = encode(glyph)
        if points not in offsets:
            first = len(pool)
            arcs = [(first + i, first + j, c, ccw) for i, j, c, ccw in fit_arcs(points)]
            offsets[points] = (first, len(arc_pool), len(arcs))
            pool.extend(points)
            arc_pool.extend(arcs)
        first, arcs, arc_count = offsets[points]
        return f"{first}, {len(points)}, {arcs}, {arc_count}"

    body = []
    face_rows = []
    for name, ascii_glyphs in faces:
        glyphs = face_glyphs(ascii_glyphs, greek, cyrillic, maths)
        capital = at(ascii_glyphs, "H")
        if capital.ink()[3] != BASELINE:
            sys.exit(f"{name}: H does not stand on the baseline")
        cap = BASELINE - capital.ink()[1]
        x_height = BASELINE - at(ascii_glyphs, "x").ink()[1]
        descender = BASELINE - at(ascii_glyphs, "p").ink()[3]
        rows = []
        for code in sorted(glyphs):
            g = glyphs[code]
            rows.append(f"    {{0x{code:04X}, {g.right - g.left}, {place(g)}}},")
        box = missing_box(capital)
        missing = f"{{0, {box.right - box.left}, {place(box)}}}"
        body.append(f"constexpr Glyph k{name}Glyphs[] = {{")
        body.extend(rows)
        body.append("};")
        face_rows.append(f"    {{k{name}Glyphs, std::size(k{name}Glyphs), {missing}, {cap}, {x_height}, {descender}}},")

    lines = [
        "// Generated by component/src/text/make_font_table.py from the Hershey fonts; do not edit.",
        "#include \"text/font_table.h\"",
        "",
        "#include <iterator>",
        "",
        "namespace orvex::text::table {",
        "namespace {",
        "",
        "constexpr Point kPointPool[] = {",
    ]
    for k in range(0, len(pool), 10):
        lines.append("    " + " ".join(f"{{{x}, {y}}}," for x, y in pool[k:k + 10]))
    lines.append("};")
    lines.append("")
    lines.append("constexpr Arc kArcPool[] = {")
    for first, last, (cx, cy), ccw in arc_pool:
        (x0, y0), (x1, y1) = pool[first], pool[last]
        radius = math.dist((cx, cy), (x0, y0))
        start, end = math.atan2(y0 - cy, x0 - cx), math.atan2(y1 - cy, x1 - cx)
        lines.append(f"    {{{first}, {last}, {cx!r}, {cy!r}, {radius!r}, {start!r}, {end!r}, {'true' if ccw else 'false'}}},")
    lines.append("};")
    lines.append("")
    lines.extend(body)
    lines.append("")
    lines.append("} // namespace")
    lines.append("")
    lines.append("const Point* const kPoints = kPointPool;")
    lines.append("const std::size_t kPointCount = std::size(kPointPool);")
    lines.append("const Arc* const kArcs = kArcPool;")
    lines.append("const std::size_t kArcCount = std::size(kArcPool);")
    lines.append("const Face kFaces[kFaceCount] = {")
    lines.extend(face_rows)
    lines.append("};")
    lines.append("")
    lines.append("} // namespace orvex::text::table")
    with open(output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
