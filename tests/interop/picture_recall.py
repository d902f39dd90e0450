"""How much of what ezdxf's drawing add-on draws of a DXF file our picture
draws too (recall), both pictures of one model window at one size.

  picture_recall.py ORVEX FILE [WORKDIR [OVERLAY.png [SIDE_BY_SIDE.png]]]
  picture_recall.py check ORVEX FOLDER MEAN LEAST
      every DXF file of FOLDER; fails unless the mean recall is at least
      MEAN and no file's is below LEAST (exit 77, a skip, without FOLDER)

prints one line:  recall R geometry G text T ink N
  R  the share of ezdxf's ink pixels that have ours within the tolerance
  G  the same for everything but text, T for text alone (-1 when none)
  N  ezdxf's ink pixels; "UNREADABLE reason" when ezdxf cannot read FILE,
     "EMPTY" when it draws nothing.

Geometry is judged within 2 pixels. Text is judged by where it stands and how
long it is: our stroke font differs in shape from ezdxf's filled letters, so a
text pixel counts when our ink lies within half the text's height of it.
"""
import os
import subprocess
import sys
import tempfile

import ezdxf
import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
from ezdxf import bbox, recover  # noqa: E402
from ezdxf.addons.drawing import Frontend, RenderContext  # noqa: E402
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend  # noqa: E402
from ezdxf.addons.drawing.properties import Configuration  # noqa: E402
from PIL import Image  # noqa: E402

WIDTH, HEIGHT = 1200, 900
TOLERANCE = 2
TEXT_KINDS = ("TEXT", "MTEXT", "ATTRIB", "ATTDEF")


def read(path):
    try:
        return ezdxf.readfile(path)
    except Exception:
        doc, _ = recover.readfile(path)
        return doc


def flattened(entities, depth=0):
    """Inserts and dimensions as what they draw, so that texts inside blocks
    are told from the geometry around them."""
    for e in entities:
        kind = e.dxftype()
        if kind == "INSERT" and depth < 16:
            for single in e.multi_insert():
                try:
                    yield from flattened(single.virtual_entities(), depth + 1)
                except Exception:
                    pass
                yield from (a for a in single.attribs if not a.is_invisible)
        elif kind == "DIMENSION" and depth < 16:
            try:
                yield from flattened(e.virtual_entities(), depth + 1)
            except Exception:
                pass
        else:
            yield e


def window_of(entities):
    box = bbox.extents(entities, fast=True)
    if not box.has_data:
        return None
    (x0, y0, _), (x1, y1, _) = box.extmin, box.extmax
    w, h = max(x1 - x0, 1e-9), max(y1 - y0, 1e-9)
    # A margin of 2 %, then widened to the picture's shape about the centre.
    w, h = w * 1.04, h * 1.04
    if w * HEIGHT > h * WIDTH:
        h = w * HEIGHT / WIDTH
    else:
        w = h * WIDTH / HEIGHT
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    return cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2


def ezdxf_ink(doc, entities, window):
    fig = plt.figure(figsize=(WIDTH / 100, HEIGHT / 100), dpi=100)
    ax = fig.add_axes([0, 0, 1, 1])
    ax.set_axis_off()
    ctx = RenderContext(doc)
    ctx.set_current_layout(doc.modelspace())
    ctx.current_layout_properties.set_colors("#ffffff")  # colour 7 draws black
    config = Configuration.defaults().with_changes(lineweight_scaling=0)
    backend = MatplotlibBackend(ax, adjust_figure=False)
    frontend = Frontend(ctx, backend, config=config)
    frontend.draw_entities(entities)
    ax.set_xlim(window[0], window[2])
    ax.set_ylim(window[1], window[3])
    ax.set_aspect("auto")
    fig.set_facecolor("white")
    ax.set_facecolor("white")
    fig.canvas.draw()
    rgb = np.asarray(fig.canvas.buffer_rgba())[:, :, :3].astype(int)
    plt.close(fig)
    return rgb.sum(axis=2) < 3 * 245


def our_ink(orvex, path, window, workdir):
    out = os.path.join(workdir, os.path.basename(path) + ".png")
    subprocess.run([orvex, "render", path, out, "--background", "white", "--size", "%dx%d" % (WIDTH, HEIGHT),
                    "--window", ",".join("%.17g" % v for v in window)], check=True, capture_output=True)
    rgb = np.asarray(Image.open(out).convert("RGB")).astype(int)
    return rgb.sum(axis=2) < 3 * 245


def near(ink, radius):
    """Where ink lies within `radius` pixels (a square) of each pixel."""
    padded = np.pad(ink.astype(np.int32), radius + 1)
    summed = padded.cumsum(0).cumsum(1)
    r = radius
    h, w = ink.shape
    y0, x0 = np.arange(h)[:, None] + 1, np.arange(w)[None, :] + 1
    y1, x1 = y0 + 2 * r, x0 + 2 * r
    total = summed[y1, x1] - summed[y0 - 1, x1] - summed[y1, x0 - 1] + summed[y0 - 1, x0 - 1]
    return total > 0


def near_round(ink, radius):
    """Within `radius` pixels as the crow flies."""
    out = np.zeros_like(ink)
    h, w = ink.shape
    for dy in range(-radius, radius + 1):
        for dx in range(-radius, radius + 1):
            if dx * dx + dy * dy > radius * radius:
                continue
            out[max(0, dy):h + min(0, dy), max(0, dx):w + min(0, dx)] |= \
                ink[max(0, -dy):h + min(0, -dy), max(0, -dx):w + min(0, -dx)]
    return out


def text_height(e):
    kind = e.dxftype()
    if kind == "MTEXT":
        return e.dxf.get("char_height", 1.0)
    return e.dxf.get("height", 1.0)


def text_tolerance_map(texts, window, shape):
    """Per pixel, the tolerance of the text that covers it: half its height."""
    scale = shape[1] / (window[2] - window[0])
    radius = np.full(shape, TOLERANCE, dtype=np.int32)
    for e in texts:
        try:
            box = bbox.extents([e], fast=False)
        except Exception:
            continue
        if not box.has_data:
            continue
        r = max(TOLERANCE, int(round(0.5 * text_height(e) * scale)))
        (x0, y0, _), (x1, y1, _) = box.extmin, box.extmax
        c0 = int(np.floor((x0 - window[0]) * scale)) - r
        c1 = int(np.ceil((x1 - window[0]) * scale)) + r
        r0 = int(np.floor((window[3] - y1) * scale)) - r
        r1 = int(np.ceil((window[3] - y0) * scale)) + r
        c0, r0 = max(c0, 0), max(r0, 0)
        c1, r1 = min(c1, shape[1]), min(r1, shape[0])
        if c0 < c1 and r0 < r1:
            radius[r0:r1, c0:c1] = np.maximum(radius[r0:r1, c0:c1], min(r, 60))
    return radius


def save_overlay(path, geometry, lettering, ours):
    """ezdxf's ink in red, ours in blue, both in dark violet."""
    theirs = geometry | lettering
    picture = np.full(ours.shape + (3,), 255, dtype=np.uint8)
    picture[theirs] = (230, 60, 60)
    picture[ours] = (60, 60, 230)
    picture[theirs & ours] = (60, 0, 90)
    Image.fromarray(picture).save(path)


def save_side_by_side(path, ours_png, theirs):
    """Our picture on the left, ezdxf's ink (in black) on the right."""
    ours = np.asarray(Image.open(ours_png).convert("RGB"))
    right = np.full(ours.shape, 255, dtype=np.uint8)
    right[theirs] = 0
    gap = np.full((ours.shape[0], 8, 3), 128, dtype=np.uint8)
    Image.fromarray(np.concatenate([ours, gap, right], axis=1)).save(path)


def recall(orvex, path, workdir, overlay=None, side_by_side=None):
    try:
        doc = read(path)
    except Exception as error:
        return "UNREADABLE %s" % type(error).__name__
    entities = list(flattened(doc.modelspace()))
    window = window_of(entities)
    if window is None:
        return "EMPTY"
    texts = [e for e in entities if e.dxftype() in TEXT_KINDS]
    others = [e for e in entities if e.dxftype() not in TEXT_KINDS]
    geometry = ezdxf_ink(doc, others, window)
    lettering = ezdxf_ink(doc, texts, window) & ~geometry if texts else np.zeros_like(geometry)
    ours = our_ink(orvex, path, window, workdir)
    covered_geometry = geometry & near_round(ours, TOLERANCE)
    radius = text_tolerance_map(texts, window, ours.shape)
    covered_text = np.zeros_like(lettering)
    for r in np.unique(radius[lettering]):
        at = lettering & (radius == r)
        covered_text |= at & near(ours, int(r))
    if overlay:
        save_overlay(overlay, geometry, lettering, ours)
    if side_by_side:
        save_side_by_side(side_by_side, os.path.join(workdir, os.path.basename(path) + ".png"), geometry | lettering)
    ink = int(geometry.sum() + lettering.sum())
    if ink == 0:
        return "EMPTY"
    g = covered_geometry.sum() / geometry.sum() if geometry.sum() else -1
    t = covered_text.sum() / lettering.sum() if lettering.sum() else -1
    r = (covered_geometry.sum() + covered_text.sum()) / ink
    return "recall %.4f geometry %.4f text %.4f ink %d" % (r, g, t, ink)


def check(orvex, folder, mean_floor, least_floor):
    if not os.path.isdir(folder):
        print("no folder", folder)
        return 77
    workdir = tempfile.mkdtemp()
    values = []
    for name in sorted(os.listdir(folder)):
        result = recall(orvex, os.path.join(folder, name), workdir)
        print("%-45s %s" % (name, result))
        if result.startswith("recall"):
            values.append((float(result.split()[1]), name))
    if not values:
        print("no file to judge")
        return 1
    mean = sum(v for v, _ in values) / len(values)
    least = min(values)
    print("files %d mean %.4f least %.4f (%s)" % (len(values), mean, least[0], least[1]))
    return 0 if mean >= mean_floor and least[0] >= least_floor else 1


if __name__ == "__main__":
    if sys.argv[1] == "check":
        sys.exit(check(sys.argv[2], sys.argv[3], float(sys.argv[4]), float(sys.argv[5])))
    workdir = sys.argv[3] if len(sys.argv) > 3 else tempfile.mkdtemp()
    print(recall(sys.argv[1], sys.argv[2], workdir, sys.argv[4] if len(sys.argv) > 4 else None,
                 sys.argv[5] if len(sys.argv) > 5 else None))
