#!/usr/bin/env python3
"""Writes small DXF and IGES seed inputs for the fuzz targets into OUT/dxf and
OUT/iges: binary DXF with both code widths and every value type (whole and
cut), the full import's kinds (blocks, nested and array inserts, polylines
with bulges, meshes, splines, ellipses, arbitrary extrusions), and IGES
curves, matrix chains, colour definitions and surface-bound curves.

Only the seeds that reach new code belong in the corpus; merge them with

    python3 fuzz/make_seeds.py /tmp/seeds
    build-fuzz/fuzz/fuzz_dxf_reader -merge=1 fuzz/corpus/dxf /tmp/seeds/dxf
    build-fuzz/fuzz/fuzz_iges_reader -merge=1 fuzz/corpus/iges /tmp/seeds/iges
"""
import os
import struct
import sys

# ---------------------------------------------------------------- DXF


def value_type(code):
    """The binary type of a group code's value."""
    if 10 <= code <= 59:
        return "real"
    if 60 <= code <= 79 or 170 <= code <= 179 or 270 <= code <= 289 or 370 <= code <= 389 \
            or 400 <= code <= 409 or 1060 <= code <= 1070:
        return "int16"
    if 90 <= code <= 99 or 420 <= code <= 429 or 440 <= code <= 459 or code == 1071:
        return "int32"
    if 160 <= code <= 169:
        return "int64"
    if 110 <= code <= 149 or 210 <= code <= 239 or 460 <= code <= 469 or 1010 <= code <= 1059:
        return "real"
    if 290 <= code <= 299:
        return "bool"
    if 310 <= code <= 319 or code == 1004:
        return "chunk"
    return "text"


def dxf_text(pairs, eol="\n"):
    return "".join("%3d%s%s%s" % (c, eol, v, eol) for c, v in pairs).encode("latin-1")


def dxf_binary(pairs, short_codes=False):
    """The file, and where each pair's code and value start."""
    out = bytearray(b"AutoCAD Binary DXF\r\n\x1a\x00")
    marks = []
    for code, value in pairs:
        at_code = len(out)
        if not short_codes:
            out += struct.pack("<h", code)
        elif code >= 255:
            out += b"\xff" + struct.pack("<h", code)
        else:
            out.append(code)
        at_value = len(out)
        kind = value_type(code)
        if kind == "real":
            out += struct.pack("<d", float(value))
        elif kind == "int16":
            out += struct.pack("<h", int(value))
        elif kind == "int32":
            out += struct.pack("<i", int(value))
        elif kind == "int64":
            out += struct.pack("<q", int(value))
        elif kind == "bool":
            out.append(1 if value else 0)
        elif kind == "chunk":
            data = bytes.fromhex(value)
            out += bytes([len(data)]) + data
        else:
            out += str(value).encode("latin-1") + b"\x00"
        marks.append((code, kind, at_code, at_value))
    return bytes(out), marks


def section(name, body):
    return [(0, "SECTION"), (2, name)] + body + [(0, "ENDSEC")]


def layer(name, colour, true_colour=None, line_type="CONTINUOUS"):
    pairs = [(0, "LAYER"), (2, name), (70, 0), (62, colour), (6, line_type)]
    if true_colour is not None:
        pairs.append((420, true_colour))
    return pairs


def lwpolyline(points, closed=False, layer_name="0", elevation=0.0, extrusion=None):
    pairs = [(0, "LWPOLYLINE"), (8, layer_name), (90, len(points)), (70, 1 if closed else 0), (38, elevation)]
    if extrusion:
        pairs += [(210, extrusion[0]), (220, extrusion[1]), (230, extrusion[2])]
    for x, y, bulge in points:
        pairs += [(10, x), (20, y)]
        if bulge:
            pairs.append((42, bulge))
    return pairs


def polyline(vertices, flags=0, m=0, n=0, extrusion=None):
    """vertices: (x, y, z, bulge, vertex flags, face indices)"""
    pairs = [(0, "POLYLINE"), (8, "0"), (66, 1), (10, 0.0), (20, 0.0), (30, 1.5), (70, flags)]
    if m or n:
        pairs += [(71, m), (72, n)]
    if extrusion:
        pairs += [(210, extrusion[0]), (220, extrusion[1]), (230, extrusion[2])]
    for x, y, z, bulge, vflags, face in vertices:
        pairs += [(0, "VERTEX"), (8, "0"), (10, x), (20, y), (30, z), (70, vflags)]
        if bulge:
            pairs.append((42, bulge))
        for k, index in enumerate(face):
            pairs.append((71 + k, index))
    return pairs + [(0, "SEQEND")]


def spline(degree, knots, control, weights=(), fit=()):
    pairs = [(0, "SPLINE"), (8, "0"), (70, 8), (71, degree), (72, len(knots)), (73, len(control)), (74, len(fit))]
    pairs += [(40, k) for k in knots]
    pairs += [(41, w) for w in weights]
    for x, y, z in control:
        pairs += [(10, x), (20, y), (30, z)]
    for x, y, z in fit:
        pairs += [(11, x), (21, y), (31, z)]
    return pairs


def insert(block, x=0.0, y=0.0, sx=1.0, sy=1.0, sz=1.0, angle=0.0, columns=0, rows=0, dx=0.0, dy=0.0,
           layer_name="0", extrusion=None, attributes=False):
    pairs = [(0, "INSERT"), (8, layer_name), (2, block), (10, x), (20, y), (30, 0.0), (41, sx), (42, sy), (43, sz),
             (50, angle)]
    if columns or rows:
        pairs += [(70, columns), (71, rows), (44, dx), (45, dy)]
    if extrusion:
        pairs += [(210, extrusion[0]), (220, extrusion[1]), (230, extrusion[2])]
    if attributes:
        pairs = pairs[:2] + [(66, 1)] + pairs[2:]
        pairs += [(0, "ATTRIB"), (8, "0"), (10, x), (20, y), (40, 2.5), (1, "VALUE"), (2, "TAG"), (70, 0)]
        pairs += [(0, "ATTRIB"), (8, "0"), (1, "SECOND"), (2, "TAG2")]
        pairs += [(0, "SEQEND"), (8, "0")]
    return pairs


def block(name, entities, base=(0.0, 0.0, 0.0)):
    return [(0, "BLOCK"), (8, "0"), (2, name), (70, 0), (10, base[0]), (20, base[1]), (30, base[2]), (3, name)] \
        + entities + [(0, "ENDBLK"), (8, "0")]


def basic_entities():
    return [
        (0, "LINE"), (8, "WALLS"), (62, 1), (10, 0.0), (20, 0.0), (30, 0.0), (11, 10.0), (21, 5.0), (31, 0.0),
        (0, "CIRCLE"), (8, "0"), (420, 0x336699), (10, 5.0), (20, 5.0), (30, 0.0), (40, 2.0),
        (0, "ARC"), (8, "7"), (10, 1.0), (20, 2.0), (30, 0.0), (40, 3.0), (50, 30.0), (51, 300.0),
        (0, "POINT"), (8, "0"), (10, 4.0), (20, 4.0), (30, 1.0),
        (0, "ELLIPSE"), (8, "0"), (10, 0.0), (20, 0.0), (30, 0.0), (11, 4.0), (21, 1.0), (31, 0.0), (40, 0.5),
        (41, 0.5), (42, 2.5),
    ]


def binary_drawing():
    """A drawing that holds a value of every binary type."""
    header = [(9, "$ACADVER"), (1, "AC1015"), (9, "$HANDSEED"), (5, "FF"), (9, "$LWDISPLAY"), (290, 1),
              (9, "$REQUIREDVERSIONS"), (160, 0), (9, "$INSUNITS"), (70, 4)]
    tables = [(0, "TABLE"), (2, "LAYER"), (70, 2)] + layer("WALLS", 3, 0x00FF8040) + layer("7", -5) \
        + [(0, "ENDTAB")]
    blocks = block("B1", [(0, "LINE"), (8, "0"), (10, 0.0), (20, 0.0), (30, 0.0), (11, 1.0), (21, 1.0), (31, 0.0)]
                   + lwpolyline([(0, 0, 0.5), (2, 0, 0), (2, 2, -1.0)], closed=True), base=(1.0, 1.0, 0.0))
    entities = basic_entities() + lwpolyline([(0, 0, 0.0), (5, 0, 0.4142), (5, 5, 0.0)], layer_name="WALLS") + [
        (0, "LINE"), (5, "2A"), (330, "1F"), (100, "AcDbEntity"), (8, "0"), (370, -1), (420, 255), (440, 0),
        (10, 1.0), (20, 1.0), (30, 0.0), (11, 2.0), (21, 3.0), (31, 0.0), (210, 0.0), (220, 0.0), (230, 1.0),
        (310, "0102030405"), (1001, "ACAD"), (1000, "text"), (1004, "DEADBEEF"), (1010, 1.0), (1020, 2.0),
        (1030, 3.0), (1070, 7), (1071, 70000), (1040, 0.5),
    ] + insert("B1", 10.0, 10.0, 2.0, 2.0, 1.0, 45.0)
    return section("HEADER", header) + section("TABLES", tables) + section("BLOCKS", blocks) \
        + section("ENTITIES", entities) + [(0, "EOF")]


def full_import_drawing():
    """The full import's kinds, placed through blocks and odd extrusions."""
    tables = [(0, "TABLE"), (2, "LAYER"), (70, 3)] + layer("0", 7) + layer("RED", 1, 0xFF0000) \
        + layer("12", 5, line_type="DASHED") + layer("off", -3) + [(0, "ENDTAB")]
    inner = [(0, "CIRCLE"), (8, "0"), (10, 0.0), (20, 0.0), (30, 0.0), (40, 1.0),
             (0, "ARC"), (8, "RED"), (62, 0), (10, 0.0), (20, 0.0), (30, 0.0), (40, 2.0), (50, 350.0), (51, 10.0)]
    blocks = block("INNER", inner) + block("OUTER", insert("INNER", 5.0, 0.0, layer_name="0")
                                           + insert("inner", 0.0, 5.0, 2.0, 1.0, 1.0, 30.0)
                                           + [(0, "LINE"), (8, "0"), (62, 256), (10, 0.0), (20, 0.0), (30, 0.0),
                                              (11, 1.0), (21, 0.0), (31, 0.0)],
                                           base=(1.0, 2.0, 0.0)) \
        + block("LOOP", insert("LOOP", 1.0, 1.0)) + block("EMPTY", []) \
        + block("PAPER", [(0, "LINE"), (67, 1), (10, 0.0), (20, 0.0), (11, 1.0), (21, 1.0)])
    entities = basic_entities() + [
        (0, "CIRCLE"), (8, "12"), (10, 1.0), (20, 1.0), (30, 0.0), (40, 1.0), (210, 0.0), (220, 0.6),
        (230, 0.8),
        (0, "ARC"), (8, "off"), (10, 1.0), (20, 1.0), (30, 0.0), (40, 1.0), (50, 0.0), (51, 90.0), (230, -1.0),
        (0, "LINE"), (67, 1), (10, 0.0), (20, 0.0), (11, 1.0), (21, 1.0),
    ]
    entities += lwpolyline([(0, 0, 1.0), (4, 0, -0.5), (4, 4, 0.0), (0, 4, 0.0)], closed=True, elevation=2.0,
                           extrusion=(0.0, 0.0, -1.0))
    entities += polyline([(0, 0, 0, 0.5, 0, ()), (3, 0, 0, 0, 0, ()), (3, 3, 0, -2.0, 0, ()), (9, 9, 0, 0, 16, ())],
                         flags=1)
    entities += polyline([(0, 0, 0, 0, 32, ()), (1, 0, 1, 0, 32, ()), (1, 1, 2, 0, 32, ())], flags=8)
    entities += polyline([(0, 0, 0, 0, 192, ()), (1, 0, 0, 0, 192, ()), (1, 1, 0, 0, 192, ()), (0, 1, 0, 0, 192, ()),
                          (0, 0, 0, 0, 128, (1, 2, 3, -4)), (0, 0, 0, 0, 128, (1, -3, 4, 0)),
                          (0, 0, 0, 0, 128, (2, 9, 0, 0))], flags=64)
    entities += polyline([(x, y, x * y, 0, 64, ()) for x in range(3) for y in range(3)], flags=16 | 32 | 1, m=3, n=3)
    entities += polyline([(0, 0, 0, 0, 64, ())], flags=16, m=4, n=4)
    entities += spline(3, [0, 0, 0, 0, 1, 2, 2, 2, 2], [(0, 0, 0), (1, 2, 0), (3, 2, 0), (4, 0, 0), (6, 1, 0)],
                       weights=[1, 0.5, 1, 2, 1])
    entities += spline(2, [0, 0, 0, 1, 1, 1], [(0, 0, 0), (1, 1, 0), (2, 0, 0)])
    entities += spline(3, [], [], fit=[(0, 0, 0), (1, 1, 0), (2, 0, 0), (3, 1, 0)])
    entities += spline(2, [1, 1, 1, 1, 1, 1], [(0, 0, 0), (1, 1, 0), (2, 0, 0)])
    entities += [(0, "ELLIPSE"), (10, 0.0), (20, 0.0), (30, 0.0), (11, 0.0), (21, 3.0), (31, 0.0), (40, 0.3),
                 (210, 1.0), (220, 0.0), (230, 0.0)]
    entities += insert("OUTER", 20.0, 0.0, 1.0, 1.0, 1.0, 90.0, columns=3, rows=2, dx=10.0, dy=-5.0,
                       layer_name="RED")
    entities += insert("INNER", 0.0, 30.0, 3.0, 1.0, 1.0, 0.0, extrusion=(0.0, 0.0, -1.0), attributes=True)
    entities += insert("INNER", 0.0, 30.0, 1.0, 1.0, 1.0, 0.0, extrusion=(1.0, 1.0, 1.0))
    entities += insert("LOOP") + insert("EMPTY") + insert("MISSING") + insert("PAPER")
    entities += [(0, "3DFACE"), (10, 0.0), (20, 0.0), (0, "TEXT"), (1, "words"), (0, "HATCH"), (2, "SOLID")]
    return section("HEADER", [(9, "$ACADVER"), (1, "AC1009")]) + section("TABLES", tables) \
        + section("BLOCKS", blocks) + section("ENTITIES", entities) + section("OBJECTS", []) + [(0, "EOF")]


def many_layers():
    """More layers than there are layer numbers."""
    pairs = []
    for i in range(260):
        pairs += [(0, "POINT"), (8, "L%d" % i), (10, float(i)), (20, 0.0)]
    return section("ENTITIES", [(0, "POINT"), (8, "200"), (10, 0.0), (20, 0.0)] + pairs) + [(0, "EOF")]


def dxf_seeds():
    seeds = {}
    for short in (False, True):
        name = "binary-%s-codes" % ("short" if short else "long")
        data, marks = dxf_binary(binary_drawing(), short)
        seeds[name + ".dxf"] = data
        # Cut inside a code and inside a value of each binary type.
        cuts = {}
        for code, kind, at_code, at_value in marks:
            if kind not in cuts and at_value + 1 < len(data):
                cuts[kind] = at_value + 1
            if code >= 255 and "code" not in cuts:
                cuts["code"] = at_code + 1
        for kind, at in sorted(cuts.items()):
            seeds["%s-cut-in-%s.dxf" % (name, kind)] = data[:at]
    full = full_import_drawing()
    seeds["full-import.dxf"] = dxf_text(full)
    seeds["full-import-binary.dxf"] = dxf_binary(full)[0]
    seeds["full-import-crlf-cut.dxf"] = dxf_text(full, "\r\n")[:-900]
    seeds["many-layers.dxf"] = dxf_text(many_layers())
    return seeds


# ---------------------------------------------------------------- IGES


def number(v):
    if isinstance(v, str):
        return v
    if isinstance(v, float):
        return repr(v)
    return str(v)


class Entity:
    def __init__(self, type_, params, form=0, matrix=0, colour=0, level=0, status="00000000", font=0):
        self.type, self.params, self.form, self.matrix = type_, params, form, matrix
        self.colour, self.level, self.status, self.font = colour, level, status, font


def iges(entities, units="2HIN", version=11, delims=(",", ";"), wrong_type=()):
    """An IGES file. Entity pointers in parameters are written as ('DE', index)
    and become the directory line of that entity."""
    p, r = delims
    de_line = [1 + 2 * i for i in range(len(entities))]

    def resolve(v):
        if isinstance(v, tuple) and v[0] == "DE":
            return str(de_line[v[1]])
        if isinstance(v, tuple) and v[0] == "-DE":
            return str(-de_line[v[1]])
        return number(v)

    g = ["1H" + p, "1H" + r, "6HSENDER", "9HSEED.IGS", "6HSYSTEM", "3H1.0", "32", "38", "6", "308", "15",
         "8HRECEIVER", "1.0", "1", units, "1", "0.1", "15H20240101.120000", "1E-07", "1000.0", "6HAUTHOR",
         "3HORG", str(version), "0", "15H20240101.120000"]
    glines = []
    text = p.join(g) + r
    while text:
        glines.append(text[:72])
        text = text[72:]
    out = [" " * 72 + "S0000001"]
    out += ["%-72sG%07d" % (t, i + 1) for i, t in enumerate(glines)]
    plines = []
    directory = []
    for i, e in enumerate(entities):
        record = p.join([str(e.type)] + [resolve(v) for v in e.params]) + r
        chunks = []
        while record:
            cut = len(record) if len(record) <= 64 else record.rfind(p, 0, 64) + 1 or 64
            chunks.append(record[:cut])
            record = record[cut:]
        start = len(plines) + 1
        for c in chunks:
            plines.append("%-64s %7dP%07d" % (c, de_line[i], len(plines) + 1))
        matrix = e.matrix if not isinstance(e.matrix, tuple) else int(resolve(e.matrix))
        colour = e.colour if not isinstance(e.colour, tuple) else int(resolve(e.colour))
        type2 = e.type + 1 if i in wrong_type else e.type
        directory.append("%8d%8d%8d%8d%8d%8d%8d%8d%8sD%07d" % (e.type, start, 0, e.font, e.level, 0, matrix, 0,
                                                               e.status, de_line[i]))
        directory.append("%8d%8d%8d%8d%8d%8s%8s%8s%8dD%07d" % (type2, 0, colour, len(chunks), e.form, "", "", "", 0,
                                                               de_line[i] + 1))
    out += directory + plines
    out.append("S%07dG%07dD%07dP%07d%40sT0000001" % (1, len(glines), len(directory), len(plines), ""))
    return ("\n".join(out) + "\n").encode("ascii")


def matrix(rx=0.0, t=(0.0, 0.0, 0.0), scale=1.0):
    import math
    c, s = math.cos(rx) * scale, math.sin(rx) * scale
    return [scale, 0.0, 0.0, t[0], 0.0, c, -s, t[1], 0.0, s, c, t[2]]


def iges_seeds():
    seeds = {}
    E = Entity
    # Conics: ellipse, hyperbolas opening along X and Y, parabolas in x and
    # in y, forms given and forms left to the coefficients, and ones that
    # make no curve.
    conics = [
        E(104, [0.25, 0, 1.0, 0, 0, -1.0, 0.0, 2.0, 0.0, 0.0, 1.0], form=1),
        E(104, [0.25, 0, 1.0, 0, 0, -1.0, 1.0, -2.0, 0.0, 2.0, 0.0], form=0),
        E(104, [0.25, 0, -1.0, 0, 0, -1.0, 0.0, 2.0, -1.0, 2.0, 1.0], form=2),
        E(104, [-0.25, 0, 1.0, 0, 0, -1.0, 0.0, -1.0, -1.0, 1.0, -1.0], form=0),
        E(104, [1.0, 0, 0, 0, -4.0, 0, 0.0, -2.0, 1.0, 2.0, 1.0], form=3),
        E(104, [0, 0, 1.0, -4.0, 0, 0, 0.0, 1.0, -2.0, 1.0, 2.0], form=3),
        E(104, [0, 0, 0, 0, 0, 0, 0.0, 0, 0, 1, 1], form=3),
        E(104, [1.0, 0, 1.0, 0, 0, 1.0, 0.0, 1, 0, 0, 1], form=1),
        E(104, [1.0, 0, 1.0], form=1),
    ]
    seeds["conics.igs"] = iges(conics)
    # Copious data: points at a common height, triples, sextuples; a path,
    # a closed curve, and the ones that make nothing.
    copious = [
        E(106, [1, 3, 2.0, 0.0, 0.0, 1.0, 1.0, 2.0, 0.0], form=1),
        E(106, [2, 2, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0], form=2),
        E(106, [3, 2, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 1], form=3),
        E(106, [1, 4, 0.5, 0, 0, 4, 0, 4, 4, 0, 4], form=63),
        E(106, [2, 3, 0, 0, 0, 1, 0, 0, 1, 1, 0], form=12),
        E(106, [1, 3, 0.0, 0, 0, 1, 1], form=11),
        E(106, [4, 1, 0, 0, 0], form=11),
        E(106, [1], form=11),
        E(106, [1, 2, 0, 0, 0, "1.0D400", 1], form=11),
    ]
    seeds["copious.igs"] = iges(copious)
    # Matrices in a chain placing a point, a line and an arc; a colour
    # definition; blanked and parameter-space entities; a bad type pair.
    placed = [
        E(124, matrix(0.5, (1.0, 2.0, 3.0)), matrix=("DE", 1)),
        E(124, matrix(0.0, (10.0, 0.0, 0.0), 2.0)),
        E(314, [50.0, 100.0, 0.0, "5HGREEN"]),
        E(116, [1.0, 2.0, 3.0, 0], matrix=("DE", 0), colour=("-DE", 2)),
        E(110, [0.0, 0.0, 0.0, 4.0, 4.0, 0.0], matrix=("DE", 0), colour=3, font=2, level=7),
        E(100, [0.0, 0.0, 0.0, 2.0, 0.0, 0.0, 2.0], matrix=("DE", 1), colour=("-DE", 4)),
        E(100, [1.0, 0.0, 0.0, 1.0, 0.0, 1.0, 0.0], matrix=("DE", 0)),
        E(110, [0.0, 0.0, 0.0, 1.0, 1.0, 1.0], status="01000000"),
        E(110, [0.0, 0.0, 0.0, 1.0, 1.0, 1.0], status="00000500"),
        E(116, [5.0, 5.0, 5.0], colour=-99),
        E(314, [10.0]),
        E(110, [0.0, 0.0, 0.0, 2.0, 2.0, 2.0], colour=("-DE", 10)),
        E(112, [1, 3, 1, 1, 0.0, 1.0]),
        E(402, [2, ("DE", 3), ("DE", 4)], form=7),
        E(406, [1, "4HNAME"], form=15),
        E(110, [0.0, 0.0, 0.0, 3.0, 3.0, 3.0]),
        E(126, [3, 3, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 0.5, 1, 0, 0, 0, 1, 2, 0, 3, 2, 1, 4, 0, 0,
                0.0, 1.0, 0, 0, 1], matrix=("DE", 0)),
    ]
    seeds["placed.igs"] = iges(placed, units="2HMM", wrong_type=(15,))
    # Curves bound to surfaces: a curve on a surface whose parameter-space
    # curve is a composite, a boundary naming parameter-space curves, a
    # trimmed surface, the curves of a surface of revolution and of a
    # tabulated cylinder; they are left out, the model-space ones drawn.
    bound = [
        E(110, [0.0, 0.0, 0.0, 1.0, 0.0, 0.0]),           # 0 parameter space member
        E(110, [1.0, 0.0, 0.0, 1.0, 1.0, 0.0]),           # 1 parameter space member
        E(102, [2, ("DE", 0), ("DE", 1)]),                # 2 parameter space composite
        E(110, [0.0, 0.0, 5.0, 9.0, 0.0, 5.0]),           # 3 model space
        E(102, [1, ("DE", 3)]),                           # 4 model space composite
        E(128, [1, 1, 1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0,
                0, 1, 1]),                                # 5 surface
        E(142, [1, ("DE", 5), ("DE", 2), ("DE", 4), 1]),  # 6
        E(126, [1, 1, 1, 0, 0, 1, 0, 0, 1, 1, 1, 1, 0, 0, 0, 1, 1, 0, 0, 1]),  # 7 parameter space spline
        E(141, [1, 1, ("DE", 5), 2, ("DE", 3), 1, 1, ("DE", 7), ("DE", 4), 1, 2, ("DE", 0), ("DE", 1)]),  # 8
        E(144, [("DE", 5), 1, 0, ("DE", 6)]),             # 9
        E(110, [0.0, 0.0, 0.0, 0.0, 0.0, 1.0]),           # 10 axis
        E(110, [1.0, 0.0, 0.0, 1.0, 0.0, 1.0]),           # 11 generatrix
        E(120, [("DE", 10), ("DE", 11), 0.0, 6.28]),      # 12
        E(100, [0.0, 0.0, 0.0, 1.0, 0.0, 1.0, 0.0]),      # 13 directrix
        E(122, [("DE", 13), 0.0, 0.0, 5.0]),              # 14
        E(102, [3, ("DE", 15), ("DE", 16), ("DE", 2)]),   # 15 a composite naming itself
        E(142, [1, ("DE", 5), ("DE", 15), 0, 1]),         # 16
        E(141, [1, 1, ("DE", 5), -1]),                    # 17
        E(142, [1]),                                      # 18
    ]
    seeds["bound-curves.igs"] = iges(bound, version=3)
    # Pointers and counts beyond the integers.
    seeds["huge-values.igs"] = iges([E(106, ["1.0D20", 1, 0, 0, 0], form=11), E(102, ["1.0D30", 3, "2.0D11"]),
                                     E(142, [1, 1, "5.0D23", 0, 1]), E(141, [1, 1, 1, "1.0D25", 0, 0, "1.0D25"]),
                                     E(120, ["-1.0D12", "9.0D99", 0, 1])])
    seeds["custom-delimiters.igs"] = iges(conics[:2] + copious[3:4] + placed[:6], delims=("/", "#"), version=0)
    # All of it on one line without line ends, records of 80 columns.
    flat = iges(conics[:1] + placed[:4]).decode().replace("\n", "")
    seeds["no-line-ends.igs"] = flat.encode()
    return seeds


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "seeds"
    for fmt, seeds in (("dxf", dxf_seeds()), ("iges", iges_seeds())):
        os.makedirs(os.path.join(out, fmt), exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(out, fmt, name), "wb") as f:
                f.write(data)
        print("%s: %d seeds in %s" % (fmt, len(seeds), os.path.join(out, fmt)))


if __name__ == "__main__":
    main()
