#!/usr/bin/python3
"""Reads back the cut files the writers produced and checks them against the piece sets.

For every NAME.json in the folder (expectations written by the C++ test) it reads NAME.dxf
(LINE/ARC entities), NAME_closed.dxf (closed POLYLINEs) and NAME.svg, and checks: the DXF
auditor finds no error, entities per layer, each piece's entities chain into one closed loop,
each closed contour encloses the piece's area, SVG paths close and enclose the same areas.
Prints one line per problem; exits 1 when there is any.
"""
import glob
import json
import math
import os
import re
import sys
import xml.etree.ElementTree as ET

import ezdxf

problems = []


def problem(where, text):
    problems.append(f"{where}: {text}")


def chord_area(p, q):
    return (p[0] * q[1] - q[0] * p[1]) / 2.0


def segment_area(radius, sweep):
    """Area between a chord and its arc of |sweep| radians, signed like the sweep."""
    a = abs(sweep)
    return math.copysign(radius * radius / 2.0 * (a - math.sin(a)), sweep)


def close(p, q, tol):
    return math.hypot(p[0] - q[0], p[1] - q[1]) <= tol


def loop_area(edges, tol):
    """edges: (start, end, extra) with extra the signed segment area when walked start->end.
    Walks them into one loop (either direction per edge); returns its signed area or None."""
    if not edges:
        return 0.0
    unused = list(edges[1:])
    first = edges[0]
    area = chord_area(first[0], first[1]) + first[2]
    at = first[1]
    while unused:
        for i, (s, e, extra) in enumerate(unused):
            if close(s, at, tol):
                area += chord_area(s, e) + extra
                at = e
                break
            if close(e, at, tol):
                area += chord_area(e, s) - extra
                at = s
                break
        else:
            return None
        unused.pop(i)
    return area if close(at, first[0], tol) else None


def check_area(where, got, want, scale):
    if got is None:
        problem(where, "does not close into one loop")
    elif abs(abs(got) - want * scale * scale) > 1e-4 * max(1.0, want * scale * scale):
        problem(where, f"area {abs(got):.6f}, expected {want * scale * scale:.6f}")


def check_entity_dxf(path, expect, scale, tol):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors:
        problem(path, f"auditor errors: {[str(e.message) for e in auditor.errors]}")
    if doc.header.get("$INSUNITS") != (1 if expect["inches"] else 4):
        problem(path, "wrong $INSUNITS")
    layers = sorted(layer.dxf.name for layer in doc.layers if layer.dxf.name not in ("0", "Defpoints"))
    if layers != sorted(["CUT_OUTER", "CUT_INNER", "DOGBONES", "DIVIDERS", "REFERENCE"]):
        problem(path, f"layer table {layers}")
    entities = list(doc.modelspace())
    counts = {}
    for e in entities:
        counts[e.dxf.layer] = counts.get(e.dxf.layer, 0) + 1
    if counts != expect["layers"]:
        problem(path, f"entities per layer {counts}, expected {expect['layers']}")
    at = 0
    for piece in expect["pieces"]:
        edges = []
        for e in entities[at:at + piece["segments"]]:
            if e.dxftype() == "LINE":
                edges.append(((e.dxf.start.x, e.dxf.start.y), (e.dxf.end.x, e.dxf.end.y), 0.0))
            elif e.dxftype() == "ARC":
                c, r = e.dxf.center, e.dxf.radius
                a1, a2 = math.radians(e.dxf.start_angle), math.radians(e.dxf.end_angle)
                sweep = (a2 - a1) % (2 * math.pi)
                s = (c.x + r * math.cos(a1), c.y + r * math.sin(a1))
                t = (c.x + r * math.cos(a2), c.y + r * math.sin(a2))
                edges.append((s, t, segment_area(r, sweep)))
            else:
                problem(path, f"unexpected entity {e.dxftype()}")
        at += piece["segments"]
        check_area(f"{path} {piece['name']}", loop_area(edges, tol), piece["area"], scale)
    if at != len(entities):
        problem(path, f"{len(entities)} entities, expected {at}")


def check_closed_dxf(path, expect, scale, tol):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors:
        problem(path, f"auditor errors: {[str(e.message) for e in auditor.errors]}")
    polylines = list(doc.modelspace())
    pieces = [p for p in expect["pieces"] if p["segments"] > 0]
    pieces = [p for p in pieces if p["innerCut"]] + [p for p in pieces if not p["innerCut"]]
    if len(polylines) != len(pieces):
        problem(path, f"{len(polylines)} contours, expected {len(pieces)}")
        return
    for poly, piece in zip(polylines, pieces):
        where = f"{path} {piece['name']}"
        if poly.dxftype() != "POLYLINE" or not poly.is_closed:
            problem(where, "not a closed POLYLINE")
            continue
        if poly.dxf.layer != piece["layer"]:
            problem(where, f"on layer {poly.dxf.layer}, expected {piece['layer']}")
        points = [(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge) for v in poly.vertices]
        if len(points) != piece["segments"]:
            problem(where, f"{len(points)} vertices, expected {piece['segments']}")
        area = 0.0
        for i, (x, y, bulge) in enumerate(points):
            nx, ny, _ = points[(i + 1) % len(points)]
            area += chord_area((x, y), (nx, ny))
            if bulge:
                sweep = 4.0 * math.atan(bulge)
                radius = math.hypot(nx - x, ny - y) / (2.0 * math.sin(abs(sweep) / 2.0))
                area += segment_area(radius, sweep)
        check_area(where, area, piece["area"], scale)


NUMBER = r"-?[0-9]+(?:\.[0-9]+)?"


def svg_path_area(d, where, tol):
    tokens = re.findall(r"[MLAZ]|" + NUMBER, d)
    if not tokens or tokens[0] != "M" or tokens[-1] != "Z":
        problem(where, f"path does not start with M and end with Z: {d[:60]}")
        return None
    start = at = (float(tokens[1]), float(tokens[2]))
    i, area = 3, 0.0
    while tokens[i] != "Z":
        if tokens[i] == "L":
            p = (float(tokens[i + 1]), float(tokens[i + 2]))
            area += chord_area(at, p)
            at, i = p, i + 3
        elif tokens[i] == "A":
            r, large, sweep_flag = float(tokens[i + 1]), tokens[i + 4] == "1", tokens[i + 5] == "1"
            p = (float(tokens[i + 6]), float(tokens[i + 7]))
            half = math.asin(min(1.0, math.hypot(p[0] - at[0], p[1] - at[1]) / (2 * r)))
            sweep = 2 * math.pi - 2 * half if large else 2 * half
            area += chord_area(at, p) + segment_area(r, sweep if sweep_flag else -sweep)
            at, i = p, i + 8
        else:
            problem(where, f"unexpected token {tokens[i]}")
            return None
    return area + chord_area(at, start)


def check_svg(path, expect, tol):
    ns = "{http://www.w3.org/2000/svg}"
    root = ET.parse(path).getroot()
    width, height = float(root.get("width")[:-2]), float(root.get("height")[:-2])
    box = [float(v) for v in root.get("viewBox").split()]
    if box[2:] != [width, height]:
        problem(path, "viewBox size differs from width and height")
    groups = root.findall(ns + "g")
    pieces = [p for p in expect["pieces"] if p["segments"] > 0]
    if len(groups) != len(pieces):
        problem(path, f"{len(groups)} groups, expected {len(pieces)}")
        return
    if len({g.get("id") for g in groups}) != len(groups):
        problem(path, "group ids repeat")
    for g, piece in zip(groups, pieces):
        where = f"{path} {piece['name']}"
        colour = "#0000ff" if piece["layer"] == "CUT_INNER" else "#000000"
        if g.get("stroke") != colour or g.get("fill") != "none":
            problem(where, f"stroke {g.get('stroke')} fill {g.get('fill')}")
        paths = g.findall(ns + "path")
        if len(paths) != 1:
            problem(where, f"{len(paths)} paths")
            continue
        check_area(where, svg_path_area(paths[0].get("d"), where, tol), piece["area"], 1.0)


def main(folder):
    names = sorted(glob.glob(os.path.join(folder, "*.json")))
    if not names:
        problem(folder, "no expectations found")
    for name in names:
        with open(name) as f:
            expect = json.load(f)
        base = name[:-5]
        scale = 1 / 25.4 if expect["inches"] else 1.0
        tol = 2e-6 if expect["inches"] else 2e-5
        check_entity_dxf(base + ".dxf", expect, scale, tol)
        check_closed_dxf(base + "_closed.dxf", expect, scale, tol)
        if not expect["inches"]:
            check_svg(base + ".svg", expect, tol)
    for line in problems:
        print(line)
    print(f"{len(names)} designs checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
