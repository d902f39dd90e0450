"""Outside reading of DXF drawings in world coordinates, for the full import.

  ezdxf_world.py make FILE    write an R2010 drawing of every kind the full
                              import reads (bulges, nested inserts, ellipse,
                              spline, extrusions, colours by layer and block)
  ezdxf_world.py binary FILE OUT   save FILE again as binary DXF
  ezdxf_world.py strip FILE OUT   save FILE without its texts, hatches,
                              dimensions, leaders and faces (their geometry
                              is judged by pictures, not entity by entity)
  ezdxf_world.py dimensions FILE   print, as `read` does, its lines with
                              those of its dimensions' blocks where ezdxf
                              explodes them (Dimension.virtual_entities;
                              an insert's explosion explodes its dimensions)
  ezdxf_world.py hatches DIR  write pattern hatches one a file into DIR
                              (islands under each style, clockwise arcs,
                              elliptic arcs, splines, bulges) and print each
                              file's name and the length of its pattern lines
  ezdxf_world.py read FILE    print its model space in world coordinates:
                              L x1 y1 z1 x2 y2 z2        a line
                              A cx cy cz r sx sy sz ex ey ez   an arc (centre, radius, ends)
                              C cx cy cz r nx ny nz      a circle (centre, radius, normal)
                              P x y z x y z ...          a curve, flattened
"""
import sys

import ezdxf
from ezdxf import recover


def make(path):
    doc = ezdxf.new("R2010")
    doc.layers.add("WALLS", color=5)
    doc.layers.add("7", color=3)
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (10, 0, 0, 0, -1), (10, 10, 0, 0, 0), (0, 10, 0, 0, 0.3)],
                       format="xyseb", close=True, dxfattribs={"layer": "WALLS"})
    inner = doc.blocks.new("INNER", base_point=(1, 1))
    inner.add_line((0, 0), (3, 1), dxfattribs={"color": 0})
    inner.add_arc((2, 2), 1.5, 10, 160)
    outer = doc.blocks.new("OUTER")
    outer.add_circle((0, 0), 2)
    outer.add_blockref("INNER", (5, 0), dxfattribs={"rotation": 30, "color": 0})
    msp.add_blockref("OUTER", (20, 5), dxfattribs={"rotation": 45, "xscale": 2, "yscale": 2, "zscale": 2,
                                                    "color": 1, "layer": "WALLS"})
    # Scaled unevenly and turned: the arc becomes an ellipse. (A turned
    # insert nested in an unevenly scaled one is sheared, which ezdxf's
    # decomposition does not keep, so the nested case is scaled evenly.)
    msp.add_blockref("INNER", (40, 5), dxfattribs={"rotation": 15, "xscale": 2, "yscale": 0.5, "layer": "7"})
    msp.add_ellipse((0, 30), major_axis=(6, 2), ratio=0.4, start_param=0.3, end_param=4.0)
    msp.add_open_spline([(0, 40, 0), (5, 45, 0), (10, 38, 2), (15, 44, 0), (20, 40, 0)], degree=3)
    msp.add_arc((5, 2, 1), 3, 30, 60, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_arc((1, 2, 3), 2, 20, 200, dxfattribs={"extrusion": (0.3, -0.5, 0.8)})
    msp.add_circle((2, 2, 2), 1, dxfattribs={"extrusion": (1, 1, 1)})
    array = msp.add_blockref("INNER", (60, 0), dxfattribs={"rotation": 10})
    array.grid(size=(2, 3), spacing=(4, 5))
    mesh = msp.add_polymesh((3, 2))
    for i in range(3):
        for j in range(2):
            mesh.set_mesh_vertex((i, j), (70 + i * 2, j * 3, i * j))
    face = msp.add_polyface()
    face.append_face([(80, 0, 0), (84, 0, 0), (84, 3, 1)])
    face.append_face([(84, 0, 0), (84, 3, 1), (88, 2, 0), (87, -1, 0)])
    line = msp.add_line((0, -5, 0), (8, -6, 1))
    line.rgb = (10, 20, 30)
    doc.saveas(path)


def numbers(*values):
    return " ".join("%.12g" % v for v in values)


def emit(e):
    kind = e.dxftype()
    if kind == "LINE":
        print("L", numbers(*e.dxf.start, *e.dxf.end))
    elif kind == "ARC":
        centre = e.ocs().to_wcs(e.dxf.center)
        print("A", numbers(*centre, e.dxf.radius, *e.start_point, *e.end_point))
    elif kind == "CIRCLE":
        centre = e.ocs().to_wcs(e.dxf.center)
        print("C", numbers(*centre, e.dxf.radius, *e.dxf.extrusion.normalize()))
    elif kind in ("ELLIPSE", "SPLINE"):
        points = [c for p in e.flattening(0.0001) for c in p]
        print("P", numbers(*points))
    elif kind in ("LWPOLYLINE", "POLYLINE"):
        for v in e.virtual_entities():
            emit(v)
    elif kind == "3DFACE":
        corners = [e.dxf.vtx0, e.dxf.vtx1, e.dxf.vtx2, e.dxf.vtx3]
        for a, b in zip(corners, corners[1:] + corners[:1]):
            if a != b:
                print("L", numbers(*a, *b))


def explode(entities):
    """Inserts (arrays too) become what their blocks hold, in world
    coordinates; dimensions, faces and texts stay out, as the import leaves
    them out."""
    for e in entities:
        kind = e.dxftype()
        if kind == "INSERT":
            for single in e.multi_insert():
                yield from explode(single.virtual_entities())
        elif kind not in ("DIMENSION", "3DFACE", "MESH", "SOLID", "TRACE"):
            yield e


def dimensions(path):
    def parts(entities):
        for e in entities:
            if e.dxftype() == "INSERT":
                for single in e.multi_insert():
                    yield from parts(single.virtual_entities())
            elif e.dxftype() == "DIMENSION":
                yield from e.virtual_entities()
            else:
                yield e

    for e in parts(ezdxf.readfile(path).modelspace()):
        if e.dxftype() == "LINE":
            emit(e)


def read(path):
    try:
        doc = ezdxf.readfile(path)
    except Exception:  # ezdxf refuses some files other programs read; its recovery reads most
        try:
            doc, _ = recover.readfile(path)
        except Exception as error:
            print("UNREADABLE", type(error).__name__)
            return
    for e in explode(doc.modelspace()):
        emit(e)


ANNOTATION = ("TEXT", "MTEXT", "ATTDEF", "HATCH", "DIMENSION", "LEADER", "MULTILEADER", "MLEADER",
              "SOLID", "TRACE", "3DFACE", "MESH", "WIPEOUT")


def strip(path, out):
    try:
        doc = ezdxf.readfile(path)
    except Exception:
        try:
            doc, _ = recover.readfile(path)
        except Exception as error:
            print("UNREADABLE", type(error).__name__)
            return
    for layout in [doc.modelspace()] + list(doc.blocks):
        for e in list(layout):
            if e.dxftype() in ANNOTATION:
                layout.delete_entity(e)
            elif e.dxftype() == "INSERT":
                e.delete_all_attribs()
    doc.saveas(out)


def hatches(folder):
    from ezdxf.render import hatching

    def hatch(name, scale, style=0, angle=0):
        doc = ezdxf.new("R2013")
        h = doc.modelspace().add_hatch()
        h.set_pattern_fill(name, scale=scale, angle=angle, style=style)
        return doc, h

    made = []
    for style in (0, 1, 2):
        doc, h = hatch("ANSI31", 0.5, style, 10)
        h.paths.add_polyline_path([(0, 0), (20, 0), (20, 20), (0, 20)], flags=1)
        h.paths.add_polyline_path([(4, 4), (16, 4), (16, 16), (4, 16)], flags=16)
        h.paths.add_polyline_path([(8, 8), (12, 8), (12, 12), (8, 12)], flags=0)
        made.append(("style%d" % style, doc, h))
    doc, h = hatch("ANSI32", 0.3)
    p = h.paths.add_edge_path(flags=1)
    p.add_line((0, 40), (20, 40))
    p.add_arc((10, 40), 10, start_angle=180, end_angle=360, ccw=False)
    made.append(("clockwise_arc", doc, h))
    doc, h = hatch("ANSI31", 0.3)
    p = h.paths.add_edge_path(flags=1)
    e = p.add_ellipse((40, 40), major_axis=(8, 6), ratio=0.5, start_angle=30, end_angle=250)
    p.add_line(e.end_point, e.start_point)
    made.append(("elliptic_arc", doc, h))
    doc, h = hatch("ANSI37", 0.3)
    p = h.paths.add_edge_path(flags=1)
    p.add_spline(control_points=[(60, 40), (65, 55), (75, 30), (80, 45)], knot_values=[0, 0, 0, 0, 1, 1, 1, 1],
                 degree=3)
    p.add_line((80, 45), (60, 40))
    made.append(("spline", doc, h))
    doc, h = hatch("ANSI31", 0.3, 0, 30)
    h.paths.add_polyline_path([(90, 40, 0.5), (110, 40, 0), (110, 55, -0.8), (90, 55, 0)], flags=1)
    made.append(("bulges", doc, h))
    for name, doc, h in made:
        path = "%s/hatch_%s.dxf" % (folder, name)
        doc.saveas(path)
        length = sum((e - s).magnitude for s, e in hatching.hatch_entity(h))
        print(path, "%.9g" % length)


def binary(path, out):
    ezdxf.readfile(path).saveas(out, fmt="bin")


if __name__ == "__main__":
    verbs = {"make": make, "read": read, "strip": strip, "binary": binary, "dimensions": dimensions,
             "hatches": hatches}
    verbs[sys.argv[1]](*sys.argv[2:])
