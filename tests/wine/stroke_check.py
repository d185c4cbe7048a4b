#!/usr/bin/env python3
"""Checks the ink canvas's event log against the one stroke of a pen scenario.

    stroke_check.py SCENARIO CANVAS_LOG

The scenario gives the screen size and one `stroke` in screen pixels. With the projected screen
covering the board's whole coded area and no stored calibration, a scenario point (u, v) lands
on pixel (u*(W-1)/W, v*(H-1)/H). The first press and every drag point up to the next release
must lie within TOLERANCE pixels of that segment; the press must be at its start and the last
drag point at its end. Prints one `ok   - ` or `FAIL - ` line per check and a `#` line with the
measured distances.
"""
import math
import statistics
import sys

TOLERANCE = 2.0
MIN_DRAG_POINTS = 20


def ScenarioLines(path):
    """(line number, lower-case keyword, words) of each scenario line that is not blank or a
    comment."""
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, start=1):
            words = line.split("#", 1)[0].split()
            if words:
                yield number, words[0].lower(), words


def ScenarioStroke(path):
    """(width, height, (x1, y1), (x2, y2)) of the scenario's screen and its first touch stroke
    in pixels, or None when it has none."""
    width, height, stroke = 1024, 768, None
    for _, keyword, words in ScenarioLines(path):
        if keyword == "screen":
            width, height = int(words[1]), int(words[2])
        elif keyword == "stroke" and stroke is None:
            options = {w.lower() for w in words[1:] if not w[0].isdigit()}
            if options - {"touch", "px"}:
                continue  # not a touch, or not in pixels
            numbers = [w for w in words[1:] if w[0].isdigit()]
            x1, y1, x2, y2 = (float(w) for w in numbers[:4])
            stroke = ((x1, y1), (x2, y2))
    if stroke is None:
        return None
    return width, height, stroke[0], stroke[1]


def Scaled(point, width, height):
    return (point[0] * (width - 1) / width, point[1] * (height - 1) / height)


def PressAndDrag(path):
    """The first press and the drag points after it, up to its release, as (x, y)."""
    press, drag = None, []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            words = line.split()
            if len(words) != 4:
                continue
            kind, point = words[1], (float(words[2]), float(words[3]))
            if press is None:
                if kind == "down":
                    press = point
            elif kind == "move":
                drag.append(point)
            elif kind == "up":
                break
    return press, drag


def SegmentDistance(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length2
    t = max(0.0, min(1.0, t))
    return math.hypot(p[0] - (a[0] + t * dx), p[1] - (a[1] + t * dy))


def Report(ok, description):
    print(("ok   - " if ok else "FAIL - ") + description)
    return ok


def Main(argv):
    if len(argv) != 3:
        raise SystemExit("usage: stroke_check.py SCENARIO CANVAS_LOG")
    stroke = ScenarioStroke(argv[1])
    if stroke is None:
        Report(False, f"{argv[1]} has a touch stroke in pixels to check against")
        return 1
    width, height, start, end = stroke
    a, b = Scaled(start, width, height), Scaled(end, width, height)
    press, drag = PressAndDrag(argv[2])
    where = f"({a[0]:.1f},{a[1]:.1f})-({b[0]:.1f},{b[1]:.1f})"
    if press is None:
        Report(False, f"canvas saw a press on the stroke {where}: no press in the log")
        return 1
    distances = [SegmentDistance(p, a, b) for p in [press] + drag]
    worst = max(distances)
    worstPoint = ([press] + drag)[distances.index(worst)]
    print(f"# stroke {where}: {len(drag)} drag points, distance to the line max "
          f"{worst:.2f} px, median {statistics.median(distances):.2f} px")
    results = [
        Report(math.dist(press, a) <= TOLERANCE,
               f"press at ({press[0]:.0f},{press[1]:.0f}) within {TOLERANCE:.0f} px of the "
               f"stroke start ({a[0]:.1f},{a[1]:.1f})"),
        Report(worst <= TOLERANCE,
               f"press and every drag point within {TOLERANCE:.0f} px of the stroke "
               f"(max {worst:.2f} px at ({worstPoint[0]:.0f},{worstPoint[1]:.0f}))"),
        Report(len(drag) >= MIN_DRAG_POINTS,
               f"at least {MIN_DRAG_POINTS} drag points ({len(drag)})"),
    ]
    if drag:
        last = drag[-1]
        results.append(Report(math.dist(last, b) <= TOLERANCE,
                              f"last drag point ({last[0]:.0f},{last[1]:.0f}) within "
                              f"{TOLERANCE:.0f} px of the stroke end ({b[0]:.1f},{b[1]:.1f})"))
    else:
        results.append(Report(False, "last drag point at the stroke end: no drag points"))
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(Main(sys.argv))
