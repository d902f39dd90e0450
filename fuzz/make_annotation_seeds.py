#!/usr/bin/env python3
"""Writes small DXF seed inputs of the full import's annotation kinds into
OUT/dxf with ezdxf (python3-ezdxf), and IGES notes, leaders, witness and
section lines and dimensions of every kind into OUT/iges: texts and attributes with every
justification, multi-line text with inline codes, pattern and solid hatches
with every edge type, dimensions with and without their blocks, leaders and
multileaders, faces, meshes, wipeouts, line types and lineweights. One file a
theme, so that the fuzzer mutates one reader at a time.

Merge only what reaches new code into the corpus:

    python3 fuzz/make_annotation_seeds.py /tmp/seeds
    build-fuzz/fuzz/fuzz_dxf_reader -merge=1 fuzz/corpus/dxf /tmp/seeds/dxf
    build-fuzz/fuzz/fuzz_iges_reader -merge=1 fuzz/corpus/iges /tmp/seeds/iges
"""
import os
import sys

import ezdxf
from ezdxf.math import Vec2, Vec3


def texts(doc):
    msp = doc.modelspace()
    doc.styles.new("SANS", dxfattribs={"font": "arial.ttf", "width": 0.8, "oblique": 10})
    for i, (h, v) in enumerate([(0, 0), (1, 1), (2, 2), (0, 3), (4, 0), (1, 3), (2, 1)]):
        t = msp.add_text("T%%d%%c%%p%%%%%%u und %%o x\\U+00B0", dxfattribs={
            "height": 2, "rotation": 15 * i, "halign": h, "valign": v, "style": "SANS" if i % 2 else "STANDARD",
            "text_generation_flag": (2 if i == 3 else 0) | (4 if i == 5 else 0)})
        t.dxf.insert = (i * 10, 0)
        t.dxf.align_point = (i * 10 + 5, 3)
    for h in (3, 5):
        t = msp.add_text("ALIGNED FIT", dxfattribs={"height": 1, "halign": h})
        t.dxf.insert = (0, 20 + h)
        t.dxf.align_point = (30, 20 + h)
    msp.add_text("negative", dxfattribs={"height": 1, "extrusion": (0, 0, -1)})
    block = doc.blocks.new("TAGGED")
    block.add_attdef("NAME", (0, 0), dxfattribs={"height": 1, "text": "default"})
    block.add_attdef("CONST", (0, 2), dxfattribs={"height": 1, "text": "fixed", "flags": 2})
    block.add_line((0, 0), (5, 0))
    ref = msp.add_blockref("TAGGED", (40, 40), dxfattribs={"rotation": 30})
    ref.add_attrib("NAME", "value", (40, 40), dxfattribs={"height": 1})
    ref.add_attrib("HIDDEN", "gone", (40, 42), dxfattribs={"height": 1, "flags": 1})
    msp.add_attdef("LOOSE", (0, 50), dxfattribs={"height": 1})


def mtexts(doc):
    msp = doc.modelspace()
    body = ("{\\fArial|b1|i0;Bold} \\H2x;big\\H0.5x; \\W1.5;wide\\W1; \\Q15;slant\\Q0; \\T2;tracked\\T1;"
            "\\C1;red\\C256; \\c255;blue \\Lunder\\l \\Oover\\o \\Kstrike\\k \\A1;mid\\P"
            "\\S1/2; \\S3^4; \\S5#6; \\~hard\\~space \\\\ \\{ \\} %%c%%d%%p \\U+03A9 \\M+1A2B3 ^I tab ^J"
            "\\pxi-3,l5,t4;para \\X bad\\Q;x \\Hx; \\ trailing\\")
    for attachment in range(1, 10):
        msp.add_mtext(body, dxfattribs={"char_height": 1, "width": 20, "attachment_point": attachment,
                                       "insert": (attachment * 30, 0), "rotation": attachment * 10,
                                       "line_spacing_factor": 1.5, "line_spacing_style": attachment % 2 + 1})
    m = msp.add_mtext("direction by vector\\Pnext line", dxfattribs={"char_height": 2, "insert": (0, 40)})
    m.dxf.text_direction = (1, 1, 0)
    msp.add_mtext("no width, long line without any wrapping at all", dxfattribs={"char_height": 1,
                                                                               "insert": (0, 60)})


def hatches(doc):
    msp = doc.modelspace()
    for style in (0, 1, 2):
        h = msp.add_hatch(color=style + 1)
        h.set_pattern_fill("ANSI31", scale=0.5, angle=15 * style)
        h.dxf.hatch_style = style
        h.paths.add_polyline_path([(0, 0), (10, 0), (10, 10), (0, 10)], is_closed=True, flags=1)
        h.paths.add_polyline_path([(3, 3, 0.5), (7, 3), (7, 7), (3, 7)], is_closed=True, flags=16)
        h.translate(style * 20, 0, 0)
    h = msp.add_hatch(color=3)
    h.set_pattern_fill("DOTS", scale=1)
    path = h.paths.add_edge_path(flags=1)
    path.add_line((0, 0), (10, 0))
    path.add_arc((10, 5), radius=5, start_angle=-90, end_angle=90, ccw=True)
    path.add_ellipse((5, 10), major_axis=(5, 0), ratio=0.4, start_angle=0, end_angle=180, ccw=False)
    path.add_spline(control_points=[(0, 10), (-3, 7), (-3, 3), (0, 0)], degree=3)
    h.translate(0, 30, 0)
    solid = msp.add_hatch(color=5)
    solid.paths.add_polyline_path([(0, 0), (5, 0), (5, 5)], is_closed=True)
    solid.translate(0, 60, 0)
    gradient = msp.add_hatch()
    gradient.set_gradient((255, 0, 0), (0, 0, 255))
    gradient.paths.add_polyline_path([(0, 0), (5, 0), (5, 5), (0, 5)], is_closed=True)
    gradient.translate(20, 60, 0)


def dimensions(doc):
    msp = doc.modelspace()
    msp.add_linear_dim(base=(0, 5), p1=(0, 0), p2=(10, 0)).render()
    msp.add_aligned_dim(p1=(0, 0), p2=(10, 5), distance=2).render()
    msp.add_radius_dim(center=(20, 0), radius=5, angle=45).render()
    msp.add_diameter_dim(center=(40, 0), radius=5, angle=30).render()
    msp.add_angular_dim_2l(base=(60, 10), line1=((50, 0), (60, 0)), line2=((50, 0), (58, 6))).render()
    msp.add_angular_dim_3p(base=(80, 10), center=(70, 0), p1=(80, 0), p2=(75, 8)).render()
    msp.add_ordinate_x_dim(feature_location=(90, 5), offset=(2, 5), origin=(85, 0)).render()
    leader = msp.add_leader([(0, 20), (5, 25), (10, 25)])
    leader.dxf.has_arrowhead = 1
    msp.add_leader([(0, 30), (5, 35), (10, 33)], dxfattribs={"path_type": 1})
    ml = msp.add_multileader_mtext("Standard")
    ml.set_content("multi\\Pleader", char_height=1)
    ml.add_leader_line(ezdxf.render.mleader.ConnectionSide.left, [Vec3(-5, 40), Vec3(-2, 42)])
    ml.build(insert=Vec2(0, 45))


def blockless_dimensions(doc):
    dimensions(doc)
    msp = doc.modelspace()
    msp.add_linear_dim(base=(0, -5), p1=(0, -10), p2=(10, -10), override={"dimtsz": 0.5}).render()
    msp.add_linear_dim(base=(20, -5), p1=(20, -10), p2=(20.4, -10), override={"dimasz": 2.5}).render()
    msp.add_linear_dim(base=(40, -5), p1=(40, -10), p2=(40, -20), angle=90,
                       text="\\A1;\\H2;\\S1/2;\\C1;\\L<>\\l\\~\\U+00B0\\\\x\\Psecond",
                       override={"dimtih": 0, "dimtoh": 0, "dimzin": 12, "dimdec": 3}).render()
    msp.add_aligned_dim(p1=(60, -10), p2=(60.001, -10), distance=-2, override={"dimblk": "OBLIQUE"}).render()
    msp.add_angular_dim_2l(base=(80, -5), line1=((70, -10), (80, -10)), line2=((70, -12), (80, -12))).render()
    for dim in doc.modelspace().query("DIMENSION"):
        name = dim.dxf.get("geometry")
        dim.dxf.discard("geometry")
        if name and name in doc.blocks:
            doc.blocks.delete_block(name, safe=False)


def odd_hatches(doc):
    """Hatches that fall back: a pattern without definition lines, one too
    fine for its area, one without a usable boundary."""
    msp = doc.modelspace()
    bare = msp.add_hatch()
    bare.dxf.solid_fill = 0
    bare.dxf.pattern_name = "NOLINES"
    bare.paths.add_polyline_path([(0, 0), (10, 0), (10, 10)], is_closed=True)
    fine = msp.add_hatch()
    fine.set_pattern_fill("ANSI31", scale=1e-6)
    fine.paths.add_polyline_path([(20, 0), (30, 0), (30, 10), (20, 10)], is_closed=True)
    empty = msp.add_hatch()
    empty.set_pattern_fill("ANSI31", scale=1)
    empty.paths.add_polyline_path([(40, 0), (50, 0)], is_closed=True)


def faces(doc):
    msp = doc.modelspace()
    msp.add_solid([(0, 0), (5, 0), (0, 5), (5, 5)])
    msp.add_solid([(10, 0), (15, 0), (10, 5)])
    msp.add_trace([(20, 0), (25, 0), (20, 1), (25, 1)])
    for flags in (0, 1, 6, 15):
        msp.add_3dface([(30 + flags * 6, 0, 0), (35 + flags * 6, 0, 1), (35 + flags * 6, 5, 2),
                        (30 + flags * 6, 5, 0)], dxfattribs={"invisible": flags})
    mesh = msp.add_mesh()
    with mesh.edit_data() as data:
        data.vertices = [(0, 20, 0), (5, 20, 0), (5, 25, 1), (0, 25, 1), (2, 30, 3)]
        data.faces = [(0, 1, 2, 3), (3, 2, 4)]
        data.edges = [(0, 1), (1, 2), (2, 4)]
        data.edge_crease_values = [0.0, 0.0, 1.0]
    wipeout = msp.add_wipeout([(40, 20), (50, 20), (48, 28), (41, 26)])
    wipeout.dxf.layer = "0"


def line_types(doc):
    msp = doc.modelspace()
    patterns = {"DASHED": [0.75, 0.5, -0.25], "DOT": [0.25, 0.0, -0.25], "DASHDOT": [1.0, 0.5, -0.25, 0.0, -0.25],
                "DIVIDE": [1.25, 0.5, -0.25, 0.0, -0.25, 0.0, -0.25], "CENTER": [2.0, 1.25, -0.25, 0.25, -0.25],
                "HIDDEN": [0.375, 0.25, -0.125], "CONTINUOUS": [0.0]}
    for name, pattern in patterns.items():
        if name not in doc.linetypes:
            doc.linetypes.add(name, pattern=pattern)
    doc.header["$EXTMIN"] = (0, 0, 0)
    doc.header["$EXTMAX"] = (50, 30, 0)
    msp.add_line((0, 25), (50, 25), dxfattribs={"linetype": "DASHED", "ltscale": 1e-9})
    msp.add_line((0, 26), (50, 26), dxfattribs={"linetype": "DASHED", "ltscale": 1e9})
    doc.layers.add("HEAVY", linetype="DASHED", lineweight=50)
    doc.header["$LTSCALE"] = 2.0
    block = doc.blocks.new("BYBLOCK_LINES")
    block.add_line((0, 0), (10, 0), dxfattribs={"linetype": "BYBLOCK", "lineweight": -2})
    block.add_line((0, 1), (10, 1), dxfattribs={"linetype": "BYLAYER"})
    for i, name in enumerate(("DASHED", "DOT", "DASHDOT", "DIVIDE", "CENTER", "HIDDEN", "CONTINUOUS", "BYLAYER")):
        msp.add_line((0, i), (50, i), dxfattribs={"linetype": name, "lineweight": 35 if i % 2 else -1,
                                                 "ltscale": 0.5 if i == 3 else 1.0,
                                                 "layer": "HEAVY" if i == 7 else "0"})
    msp.add_blockref("BYBLOCK_LINES", (0, 20), dxfattribs={"linetype": "CENTER", "lineweight": 60})


# ---------------------------------------------------------------- IGES


def iges(entities):
    """An IGES file of (type, form, parameters, status, matrix DE) entries,
    each parameter list ending in ';'. Pointers are directory sequence
    numbers: entry k (from 0) has number 2k + 1."""
    cards = ["%-72sS0000001" % "annotation seed",
             "%-72sG0000001" % "1H,,1H;,,,,,,,,,,,1.,2,2HMM;"]
    directory, parameters = [], []
    for k, (kind, form, data, status, matrix) in enumerate(entities):
        first = len(parameters) + 1
        chunks = [data[i:i + 64] for i in range(0, len(data), 64)] or [";"]
        for chunk in chunks:
            parameters.append("%-64s %7dP%07d" % (chunk, 2 * k + 1, len(parameters) + 1))
        directory.append("%8d%8d%8d%8d%8d%8d%8d%8d%8sD%07d" % (kind, first, 0, 1, 0, 0, matrix, 0, status, 2 * k + 1))
        directory.append("%8d%8d%8d%8d%8d%8s%8s%8s%8dD%07d" % (kind, 0, 3, len(chunks), form, "", "", "", 0,
                                                               2 * k + 2))
    cards += directory + parameters
    cards.append("S%07dG%07dD%07dP%07d%40sT0000001" % (1, 1, len(directory), len(parameters), ""))
    return "\n".join(cards) + "\n"


DEPENDENT = "00010100"
NOTE = "212,1,3,6.,2.,1,1.5707963,0.,0,0,10.,20.,0.,3HABC;"
LEADER = "214,1,1.,2.,0.,5.,5.,15.,5.;"
WITNESS = "106,1,3,0.,0.,0.,0.,2.,0.,12.;"


def iges_seeds():
    seeds = {}
    seeds["leaders"] = iges([(214, form, "214,2,1.,2.,0.,0.,0.,10.,0.,10.,5.;", "00000000", 0)
                             for form in range(0, 13)])
    seeds["notes"] = iges([
        (212, 0, "212,2,3,6.,2.,1,1.5707963,0.,0,0,10.,20.,0.,3HABC,4,0.,3.,1001,1.2,0.5,1,0,0.,0.,0.,4H\xb0x2y;",
         "00000000", 0),
        (212, 8, "212,1,5,0.,4.,1,0.3,1.,2,1,0.,0.,0.,5HVERTI;", "00000000", 0),
        (212, 0, "212,1,3,6.,2.,1,,0.,0,0,1.,2.,0.,3HLONG TEXT OVER THE LINE END OF ONE PARAMETER CARD;",
         "00000000", 0),
        (124, 0, "124,0.,-1.,0.,0.,1.,0.,0.,0.,0.,0.,1.,0.;", "00000000", 0),
    ])
    seeds["lines"] = iges([(106, form, "106,1,4,0.,0.,0.,1.,1.,2.,0.,3.,1.;", "00000000", 0)
                           for form in list(range(31, 39)) + [40]] +
                          [(106, 40, "106,1,2,0.,0.,0.,1.,1.;", "00000000", 0)])
    # A dimension of each kind with its parts after it (entries 1, 3, 5 ...).
    parts = [(212, 0, NOTE, DEPENDENT, 0), (214, 2, LEADER, DEPENDENT, 0), (214, 1, LEADER, DEPENDENT, 0),
             (106, 40, WITNESS, DEPENDENT, 0), (106, 40, WITNESS, DEPENDENT, 0),
             (100, 0, "100,0.,0.,0.,5.,0.,0.,5.;", DEPENDENT, 0)]
    note, leader1, leader2, witness1, witness2, arc = 3, 5, 7, 9, 11, 13
    dims = {
        "angular": (202, 0, "202,%d,%d,%d,0.,0.,5.,%d,%d;" % (note, witness1, witness2, leader1, leader2)),
        "curve": (204, 0, "204,%d,0,0,%d,%d,%d,%d;" % (note, leader1, leader2, witness1, witness2)),
        "diameter": (206, 0, "206,%d,%d,%d,0.,0.;" % (note, leader1, leader2)),
        "flag": (208, 0, "208,1.,2.,0.,0.3,%d,2,%d,%d;" % (note, leader1, leader2)),
        "label": (210, 0, "210,%d,2,%d,%d;" % (note, leader1, leader2)),
        "linear": (216, 0, "216,%d,%d,%d,%d,%d;" % (note, leader1, leader2, witness1, witness2)),
        "ordinate": (218, 1, "218,%d,%d,%d;" % (note, witness1, leader1)),
        "point": (220, 0, "220,%d,%d,%d;" % (note, leader1, arc)),
        "radius": (222, 1, "222,%d,%d,0.,0.,%d;" % (note, leader1, leader2)),
    }
    for name, (kind, form, data) in dims.items():
        seeds["dimension_" + name] = iges([(kind, form, data, "00000000", 0)] + parts)
    return seeds


THEMES = {"texts": texts, "mtexts": mtexts, "hatches": hatches, "odd_hatches": odd_hatches, "dimensions": dimensions,
          "blockless_dimensions": blockless_dimensions, "faces": faces, "line_types": line_types}


def main(out):
    folder = os.path.join(out, "iges")
    os.makedirs(folder, exist_ok=True)
    for name, text in iges_seeds().items():
        with open(os.path.join(folder, "annotation_%s.igs" % name), "w", encoding="latin-1") as f:
            f.write(text)
    folder = os.path.join(out, "dxf")
    os.makedirs(folder, exist_ok=True)
    for name, make in THEMES.items():
        for version in ("R2018", "R12") if name in ("texts", "dimensions", "line_types") else ("R2018",):
            doc = ezdxf.new(version)
            try:
                make(doc)
            except ezdxf.DXFError:
                continue  # a kind the version cannot hold
            doc.saveas(os.path.join(folder, "annotation_%s_%s.dxf" % (name, version)))


if __name__ == "__main__":
    main(sys.argv[1])
