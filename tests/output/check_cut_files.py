#!/usr/bin/python3
# Has independent readers read back every cut file of several designs.
#
# For each design tessaro-cli writes the pieces (JSON), DXF in mm and inches, closed-contour DXF, SVG
# and the server request, which the reference DXF server answers over HTTP, posted as a form. ezdxf
# reads every DXF (its auditor must find nothing) and an XML parser the SVG. Each piece's entities
# must chain into one closed loop on the piece's layers, and every format must enclose the
# same area for each piece.
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

DESIGNS = [[],
           ["--cnc"],
           ["--cnc", "--lid", "--tool-diameter", "3", "--width-dividers", "2", "--depth-dividers", "1", "--base-slots"],
           ["--internal", "--width", "101.6", "--fingers-width", "4", "--fingers-height", "2"],
           ["--cnc", "--tool-diameter", "3", "--fingers-width", "10", "--width-dividers", "6", "--base-slots"]]
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


def read_dxf(path, inches):
    doc = ezdxf.readfile(path)
    layers = sorted(layer.dxf.name for layer in doc.layers if layer.dxf.name not in ("0", "Defpoints"))
    if doc.audit().has_errors:
        problems.append(f"{path}: auditor errors")
    if doc.header.get("$INSUNITS") != (1 if inches else 4):
        problems.append(f"{path}: units")
    if layers != ["CUT_INNER", "CUT_OUTER", "DIVIDERS", "DOGBONES", "REFERENCE"]:
        problems.append(f"{path}: layer table {layers}")
    return list(doc.modelspace())


def layer_of(piece):
    return "CUT_INNER" if piece["innerCut"] else "DIVIDERS" if "Divisor" in piece["name"] else "CUT_OUTER"


def entity_areas(path, pieces, scale, tol):
    entities = read_dxf(path, scale != 1)
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


def closed_areas(path, pieces, scale):
    order = [i for i, p in enumerate(pieces) if p["innerCut"]] + [i for i, p in enumerate(pieces) if not p["innerCut"]]
    areas = [None] * len(pieces)
    for i, poly in zip(order, read_dxf(path, scale != 1)):
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


def svg_areas(path, pieces):
    groups = ET.parse(path).getroot().findall("{http://www.w3.org/2000/svg}g")
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
        expected = entity_areas(base + ".dxf", pieces, 1, 2e-5)
        for name, areas, rel in [("inches", entity_areas(base + "in.dxf", pieces, 1 / 25.4, 2e-6), 1e-4),
                                 ("closed", closed_areas(base + "c.dxf", pieces, 1), 1e-4),
                                 ("closed inches", closed_areas(base + "inc.dxf", pieces, 1 / 25.4), 1e-4),
                                 ("svg", svg_areas(base + ".svg", pieces), 1e-4),
                                 ("server", entity_areas(base + "s.dxf", pieces, 1, 3e-3), 2e-3)]:
            for piece, want, got in zip(pieces, expected, areas):
                if want is None or got is None or abs(got - want) > rel * max(1.0, want):
                    problems.append(f"design {args} {name} {piece['name']}: area {got}, expected {want}")
    print("\n".join(problems + [f"{len(DESIGNS)} designs checked, {len(problems)} problems"]))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
