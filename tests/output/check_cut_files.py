#!/usr/bin/python3
# Has independent readers read back every cut file of several designs.
#
# For each design tessaro-cli writes the pieces (JSON), DXF in mm and inches, closed-contour DXF, SVG
# and the server request, which the reference DXF server answers over HTTP, posted as a form. ezdxf
# reads every DXF (its auditor must find nothing) and an XML parser the SVG. Each piece's entities
# must chain into one closed loop on the piece's layers, and every format must enclose the
# same area for each piece. Engraved names come first, on LABELS (in SVG, in red): every stroke lies
# inside a piece and at least 1 mm from every cut line. A design on sheets is read back file by file.
# Usage: check_cut_files.py TESSARO_CLI DXF_SERVER. Prints one line per problem; exits 1 on any.
import atexit
import json
import math
import os
import re
import subprocess
import sys
import tempfile
import urllib.request
import xml.etree.ElementTree as ET

import ezdxf
import ezdxf.bbox

DESIGNS = [[],
           ["--cnc"],
           ["--cnc", "--lid", "--tool-diameter", "3", "--width-dividers", "2", "--depth-dividers", "1", "--base-slots"],
           ["--internal", "--width", "101.6", "--fingers-width", "4", "--fingers-height", "2"],
           ["--cnc", "--tool-diameter", "3", "--fingers-width", "10", "--width-dividers", "6", "--base-slots"],
           ["--labels", "--compensate-kerf", "--kerf", "0.3", "--width-dividers", "2", "--depth-dividers", "3",
            "--base-slots", "--lid"],
           ["--labels", "--cnc", "--tool-diameter", "3", "--width-dividers", "1", "--base-slots"]]
LABELS = "LABELS"
problems = []


def chord(p, q):  # signed area of the triangle with the origin
    return (p[0] * q[1] - q[0] * p[1]) / 2.0


def arc_area(radius, sweep):
    """Area between a chord and its arc of sweep radians, signed like the sweep."""
    return math.copysign(radius * radius / 2.0 * (abs(sweep) - math.sin(abs(sweep))), sweep)


def loop_area(edges, tol):
    """edges: (start, end, arc area walked start to end). Walks them into one loop, each edge either
    way; its area, or None when they do not close."""
    first, at, extra = edges[0]
    unused = edges[1:]
    area = chord(first, at) + extra
    while unused:
        for i, (s, e, extra) in enumerate(unused):
            if math.dist(s, at) <= tol or math.dist(e, at) <= tol:
                forward = math.dist(s, at) <= tol
                area += chord(s, e) + extra if forward else chord(e, s) - extra
                at = e if forward else s
                unused.pop(i)
                break
        else:
            return None
    return abs(area) if math.dist(at, first) <= tol else None


def read_dxf(path, inches, labels=False):
    """The entities after the engraved names, which are checked on their own."""
    doc = ezdxf.readfile(path)
    layers = sorted(layer.dxf.name for layer in doc.layers if layer.dxf.name not in ("0", "Defpoints"))
    if doc.audit().has_errors:
        problems.append(f"{path}: auditor errors")
    if doc.header.get("$INSUNITS") != (1 if inches else 4):
        problems.append(f"{path}: units")
    if layers != sorted(["CUT_INNER", "CUT_OUTER", "DIVIDERS", "DOGBONES", "REFERENCE"] + [LABELS] * labels):
        problems.append(f"{path}: layer table {layers}")
    entities = list(doc.modelspace())
    names = 0
    while names < len(entities) and entities[names].dxf.layer == LABELS:
        names += 1
    if labels:
        strokes[path] = [stroke_of(e) for e in entities[:names]]
    if any(e.dxf.layer == LABELS for e in entities[names:]) or (labels and not names):
        problems.append(f"{path}: engraved names missing or not before the cuts")
    return entities[names:]


strokes = {}  # a DXF file's engraved strokes, as point lists


def stroke_of(entity):
    if entity.dxftype() == "LINE":
        return [(entity.dxf.start.x, entity.dxf.start.y), (entity.dxf.end.x, entity.dxf.end.y)]
    if entity.is_closed:
        problems.append("an engraved stroke drawn closed")
    return [(v.dxf.location.x, v.dxf.location.y) for v in entity.vertices]


def cut_loops(entities):
    """Each cut entity as a chain of points: lines as they are, arcs by eight chords."""
    loops = []
    for e in entities:
        if e.dxftype() == "LINE":
            loops.append([(e.dxf.start.x, e.dxf.start.y), (e.dxf.end.x, e.dxf.end.y)])
        elif e.dxftype() == "ARC":
            a = math.radians(e.dxf.start_angle)
            sweep = (math.radians(e.dxf.end_angle) - a) % (2 * math.pi)
            c = e.dxf.center
            loops.append([(c.x + e.dxf.radius * math.cos(a + sweep * k / 8),
                           c.y + e.dxf.radius * math.sin(a + sweep * k / 8)) for k in range(9)])
    return loops


def to_segment(p, a, b):
    ab = (b[0] - a[0], b[1] - a[1])
    length = ab[0] ** 2 + ab[1] ** 2
    f = 0 if length == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * ab[0] + (p[1] - a[1]) * ab[1]) / length))
    return math.dist(p, (a[0] + f * ab[0], a[1] + f * ab[1]))


def check_names(path, entities, scale):
    """Every stroke, walked in steps of a tenth of a millimetre, stays 1 mm from every cut and inside
    an odd number of cut loops (in a piece, not in its cut-outs)."""
    cuts = [(a, b) for chain in cut_loops(entities) for a, b in zip(chain, chain[1:])]
    margin = (1 - 1e-6) * scale
    for stroke in strokes.get(path, []):
        for a, b in zip(stroke, stroke[1:]):
            steps = max(1, math.ceil(math.dist(a, b) / (0.1 * scale)))
            for k in range(steps + 1):
                p = (a[0] + (b[0] - a[0]) * k / steps, a[1] + (b[1] - a[1]) * k / steps)
                near = [c for c in cuts if min(c[0][0], c[1][0]) - margin < p[0] < max(c[0][0], c[1][0]) + margin and
                        min(c[0][1], c[1][1]) - margin < p[1] < max(c[0][1], c[1][1]) + margin]
                crossings = sum((c[0][1] > p[1]) != (c[1][1] > p[1]) and
                                p[0] < c[0][0] + (p[1] - c[0][1]) / (c[1][1] - c[0][1]) * (c[1][0] - c[0][0])
                                for c in cuts)
                if any(to_segment(p, *c) < margin for c in near) or crossings % 2 == 0:
                    problems.append(f"{path}: an engraved stroke at {p} outside its piece or within 1 mm of a cut")
                    return


def layer_of(piece):
    return "CUT_INNER" if piece["innerCut"] else "DIVIDERS" if "Divisor" in piece["name"] else "CUT_OUTER"


def entity_areas(path, pieces, scale, tol, labels=False):
    entities = read_dxf(path, scale != 1, labels)
    check_names(path, entities, scale)
    areas = []
    for piece in pieces:
        edges = []
        part = entities[:piece["segments"]]
        entities = entities[piece["segments"]:]
        for e in part:
            if e.dxftype() == "LINE" and e.dxf.layer == layer_of(piece):
                edges.append(((e.dxf.start.x, e.dxf.start.y), (e.dxf.end.x, e.dxf.end.y), 0.0))
            elif e.dxftype() == "ARC" and e.dxf.layer == "DOGBONES":
                a = math.radians(e.dxf.start_angle)
                b = math.radians(e.dxf.end_angle)
                c = e.dxf.center
                r = e.dxf.radius
                ends = [(c.x + r * math.cos(t), c.y + r * math.sin(t)) for t in (a, b)]
                edges.append((ends[0], ends[1], arc_area(r, (b - a) % (2 * math.pi))))
        area = loop_area(edges, tol) if len(edges) == len(part) == piece["segments"] else None
        areas.append(area / scale / scale if area is not None else None)
    if entities:
        problems.append(f"{path}: {len(entities)} entities more than the pieces have")
    return areas


def closed_areas(path, pieces, scale, labels=False):
    order = [i for i, p in enumerate(pieces) if p["innerCut"]] + [i for i, p in enumerate(pieces) if not p["innerCut"]]
    areas = [None] * len(pieces)
    for i, poly in zip(order, read_dxf(path, scale != 1, labels)):
        points = [(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge) for v in poly.vertices]
        if poly.is_closed and poly.dxf.layer == layer_of(pieces[i]) and len(points) == pieces[i]["segments"]:
            area = 0.0
            for k, (x, y, bulge) in enumerate(points):
                nx, ny, _ = points[(k + 1) % len(points)]
                area += chord((x, y), (nx, ny))
                if bulge:
                    sweep = 4.0 * math.atan(bulge)
                    area += arc_area(math.hypot(nx - x, ny - y) / (2.0 * math.sin(abs(sweep) / 2.0)), sweep)
            areas[i] = abs(area) / scale / scale
    return areas


def svg_areas(path, pieces, labels=False):
    groups = ET.parse(path).getroot().findall("{http://www.w3.org/2000/svg}g")
    names = [g for g in groups if g.get("stroke") == "#ff0000"]
    if groups[:len(names)] != names or bool(names) != labels:
        problems.append(f"{path}: engraved names missing or not before the cuts")
    groups = groups[len(names):]
    areas = []
    for g, piece in zip(groups, pieces):
        tokens = re.findall(r"[MLAZ]|-?[0-9]+(?:\.[0-9]+)?", g[0].get("d"))
        start = at = (float(tokens[1]), float(tokens[2]))
        i = 3
        area = 0.0
        while tokens[i] != "Z":
            end = i + 2 if tokens[i] == "L" else i + 7  # a line's point, or an arc's after its radii and flags
            p = (float(tokens[end - 1]), float(tokens[end]))
            if tokens[i] == "A":
                r = float(tokens[i + 1])
                half = math.asin(min(1.0, math.dist(p, at) / (2 * r)))
                sweep = 2 * math.pi - 2 * half if tokens[i + 4] == "1" else 2 * half
                area += arc_area(r, sweep if tokens[i + 5] == "1" else -sweep)
            area += chord(at, p)
            at = p
            i = end + 1
        colour_ok = g.get("stroke") == ("#0000ff" if piece["innerCut"] else "#000000") and g.get("fill") == "none"
        areas.append(abs(area + chord(at, start)) if colour_ok else None)
    return areas + [None] * (len(pieces) - len(areas))


def check_fit_test(cli, folder):
    """The fit test's DXF read back: a tongue compensated with the kerf k fits notch i when the true kerf is
    (tongue - notch) / 2, which must be k - 0.1 ... k + 0.1 (at least 0)."""
    for kerf in (0.15, 0.05):
        path = os.path.join(folder, f"fit{kerf}.dxf")
        subprocess.run([cli, "--kerf", str(kerf), "--fit-test", path], check=True)
        cuts = read_dxf(path, False, True)
        comb, tongue = cuts[:24], cuts[24:28]
        width = max(e.dxf.end.x for e in tongue) - min(e.dxf.start.x for e in tongue)
        notches = [abs(comb[4 * i + 2].dxf.end.x - comb[4 * i + 2].dxf.start.x) for i in range(5)]
        tops = {round(y, 6) for i in range(6) for y in (comb[4 * i].dxf.start.y, comb[4 * i].dxf.end.y)}
        if len(tops) != 1:
            problems.append(f"fit test with kerf {kerf}: the comb's top runs at {sorted(tops)}, not in one line")
        fits = [round((width - notch) / 2, 6) for notch in notches]
        wanted = [round(max(0.0, kerf + step), 6) for step in (-0.1, -0.05, 0, 0.05, 0.1)]
        if fits != wanted:
            problems.append(f"fit test with kerf {kerf}: notches fit the tongue at kerfs {fits}, not {wanted}")


def check_sheets(cli, folder):
    """A design laid onto 400 x 300 mm sheets: a file per sheet, every file's extents inside its sheet's
    margin, an SVG as large as the sheet, and each piece cut with the area it has on the plan."""
    args = ["--labels", "--cnc", "--tool-diameter", "3", "--width-dividers", "2", "--depth-dividers", "1",
            "--base-slots", "--lid", "--sheet", "400x300", "--margin", "8"]
    base = os.path.join(folder, "hoja")
    plan = json.loads(subprocess.run([cli] + args[:-4] + ["--pieces", "-"], capture_output=True, check=True).stdout)
    subprocess.run([cli] + args[:-4] + ["--dxf", base + "plano.dxf"], check=True)
    planned = sorted(a for a in entity_areas(base + "plano.dxf", plan, 1, 2e-5, True) if a is not None)
    laid = json.loads(subprocess.run([cli] + args + ["--pieces", "-"], capture_output=True, check=True).stdout)
    subprocess.run([cli] + args + ["--dxf", base + ".dxf", "--svg", base + ".svg"], check=True)
    count = max(p["sheet"] for p in laid)
    areas = []
    for k in range(1, count + 1):
        pieces = [p for p in laid if p["sheet"] == k]
        dxf = f"{base}-{k}.dxf"
        areas += entity_areas(dxf, pieces, 1, 2e-5, True)
        box = ezdxf.bbox.extents(ezdxf.readfile(dxf).modelspace())
        if not (box.extmin.x >= 8 - 1e-6 and box.extmin.y >= 8 - 1e-6 and box.extmax.x <= 392 + 1e-6 and
                box.extmax.y <= 292 + 1e-6):
            problems.append(f"{dxf}: extents {box.extmin}..{box.extmax} outside the sheet's margin")
        svg = ET.parse(f"{base}-{k}.svg").getroot()
        if (svg.get("width"), svg.get("height"), svg.get("viewBox")) != ("400mm", "300mm", "0 0 400 300"):
            problems.append(f"{base}-{k}.svg: not the sheet's size")
        areas_svg = svg_areas(f"{base}-{k}.svg", pieces, True)
        if None in areas_svg:
            problems.append(f"{base}-{k}.svg: a piece unread")
    if os.path.exists(f"{base}-{count + 1}.dxf") or os.path.exists(base + ".dxf") or count < 2:
        problems.append(f"sheets: {count} files expected, named after the chosen name")
    got = sorted(a for a in areas if a is not None)
    if len(got) != len(plan) or any(abs(a - b) > 1e-4 * max(1.0, b) for a, b in zip(got, planned)):
        problems.append("sheets: the pieces on the sheets are not cut as on the plan")


def main(cli, server):
    folder = tempfile.mkdtemp()
    reference = subprocess.Popen([server, "--port", "0"], stdout=subprocess.PIPE, text=True)
    # Also after a failed request, so the server does not outlive the test holding its output.
    atexit.register(reference.terminate)
    address = reference.stdout.readline().split()[-1]
    for n, args in enumerate(DESIGNS):
        base = os.path.join(folder, str(n))
        pieces = json.loads(subprocess.run([cli] + args + ["--pieces", "-"], capture_output=True, check=True).stdout)
        subprocess.run([cli] + args + ["--dxf", base + ".dxf", "--dxf-closed", base + "c.dxf", "--svg", base + ".svg",
                                       "--server-json", base + ".json"], check=True)
        inches = ["--inches", "--dxf", base + "in.dxf", "--dxf-closed", base + "inc.dxf"]
        subprocess.run([cli] + args + inches, check=True)
        # Posted as curl --data-binary does, with a form's content type (the server's tests post JSON).
        form = {"Content-Type": "application/x-www-form-urlencoded"}
        request = urllib.request.Request(address, open(base + ".json", "rb").read(), form)
        open(base + "s.dxf", "wb").write(urllib.request.urlopen(request, timeout=60).read())
        labels = "--labels" in args
        expected = entity_areas(base + ".dxf", pieces, 1, 2e-5, labels)
        for name, areas, rel in [("inches", entity_areas(base + "in.dxf", pieces, 1 / 25.4, 2e-6, labels), 1e-4),
                                 ("closed", closed_areas(base + "c.dxf", pieces, 1, labels), 1e-4),
                                 ("closed inches", closed_areas(base + "inc.dxf", pieces, 1 / 25.4, labels), 1e-4),
                                 ("svg", svg_areas(base + ".svg", pieces, labels), 1e-4),
                                 ("server", entity_areas(base + "s.dxf", pieces, 1, 3e-3), 2e-3)]:
            if name == "closed" and sum(len(s) - 1 for s in strokes.get(base + "c.dxf", [])) != len(
                    strokes.get(base + ".dxf", [])):
                problems.append(f"design {args}: the closed file's engraved strokes differ")
            for piece, want, got in zip(pieces, expected, areas):
                if want is None or got is None or abs(got - want) > rel * max(1.0, want):
                    problems.append(f"design {args} {name} {piece['name']}: area {got}, expected {want}")
    check_fit_test(cli, folder)
    check_sheets(cli, folder)
    print("\n".join(problems + [f"{len(DESIGNS)} designs and the fit test checked, {len(problems)} problems"]))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
