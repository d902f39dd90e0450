"""Outside reader and writer of DXF files for the interoperability tests.

  ezdxf_check.py read FILE    audit FILE and print its entities, one a line
  ezdxf_check.py write FILE   write an R12 drawing with every entity kind
"""
import sys

import ezdxf


def read(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print("errors", len(auditor.errors))
    for e in doc.modelspace():
        kind = e.dxftype()
        values = [kind, e.dxf.layer, e.dxf.color]
        if kind == "LINE":
            values += list(e.dxf.start) + list(e.dxf.end)
        elif kind == "POINT":
            values += list(e.dxf.location)
        elif kind in ("ARC", "CIRCLE"):
            values += list(e.dxf.center) + [e.dxf.radius]
            if kind == "ARC":
                values += [e.dxf.start_angle, e.dxf.end_angle]
        print(" ".join(str(v) for v in values))


def write(path):
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    msp.add_line((0, 0, 0), (10, 5.5, 0), dxfattribs={"layer": "3", "color": 1})
    msp.add_point((1, 2, 3), dxfattribs={"layer": "4", "color": 5})
    msp.add_arc((5, 2, 1), 3, 30, 60, dxfattribs={"layer": "5", "color": 2, "extrusion": (0, 0, -1)})
    msp.add_circle((1, 1, 0), 2, dxfattribs={"layer": "WALLS", "color": 256})
    msp.add_polyline2d([(0, 0), (10, 0), (10, 10)], close=True, dxfattribs={"layer": "6", "color": 3})
    msp.add_arc((0, 0, 0), 1, 0, 90, dxfattribs={"extrusion": (0, -1, 0)})
    doc.saveas(path)


if __name__ == "__main__":
    {"read": read, "write": write}[sys.argv[1]](sys.argv[2])
