#!/usr/bin/env python3
"""Checks every on-screen pen contact of a scenario against the mouse input a window received.

    ink_check.py [--calibrated] [--from-line N] [--to-line N] SCENARIO LOG
    ink_check.py --count SCENARIO          (the number of touch contacts on the screen)

LOG is the ink canvas's event log (`t_ms kind x y`) or razazide-sim's event lines (JSON), from
which the same kinds are derived. SCENARIO is read for its screen size and its pen steps in
screen pixels; steps given in cells, margin-key taps and calibration touches click nothing on
the screen and are left out. A touch contact is a run of `touch` and `stroke` steps; it
ends where the pen stops touching or where the cable comes out (`unplug`), and its path is the
polyline through its points. `--from-line`/`--to-line` keep only the steps on those lines of
the scenario, for a log that holds part of it.

Where a scenario point lands: with the projected screen covering the board's whole coded area
and no stored calibration, (u, v) lands on (u*(W-1)/W, v*(H-1)/H). After a calibration
(`--calibrated`) the pen touched each cross at the centre of the cross's pixel, so (u, v)
lands on (u - 0.5, v - 0.5).

The log's left presses are matched to the contacts in order. For each: the press within
TOLERANCE pixels of the contact's start and every drag point within TOLERANCE of its path; a
contact the pen ended lifts with its last drag point within TOLERANCE of its end; a contact the
cable cut is released at once (within CUT_RELEASE_MS of its last drag point, at that point),
its last drag point no further from where the cable came out than the pen travels in
CUT_LAG_MS, give or take TOLERANCE. No drag point
outside a press, and every right press and release within TOLERANCE of a `right` step's point.
Prints one `ok   - ` or `FAIL - ` line per check and `#` lines with the measured distances.
"""
import argparse
import json
import math
import statistics
import sys

TOLERANCE = 2.0
# How far behind the pen the last drag point before the cut may be: a slow pen is polled every
# 20 ms and the poll takes the oldest report it finds, the board reports every 5 ms, and the
# smoothing trails the pen by about one report's travel.
CUT_LAG_MS = 60.0
# The first poll after the cable came out fails its read and lets go of the button; the device
# watch would take up to two seconds.
CUT_RELEASE_MS = 500.0


def ScenarioLines(path):
    """(line number, lower-case keyword, words) of each scenario line that is not blank or a
    comment."""
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, start=1):
            words = line.split("#", 1)[0].split()
            if words:
                yield number, words[0].lower(), words


def SegmentDistance(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length2
    t = max(0.0, min(1.0, t))
    return math.hypot(p[0] - (a[0] + t * dx), p[1] - (a[1] + t * dy))


class Contact:
    def __init__(self, line):
        self.line = line  # scenario line where it starts
        self.path = []
        self.cut = False  # ended by the cable coming out, not by the pen
        self.speed = 0.0  # px per ms of its last move


def Numbers(words):
    """The plain numbers among the words: coordinates, not durations (which carry a unit)."""
    numbers = []
    for word in words:
        try:
            numbers.append(float(word))
        except ValueError:
            pass
    return numbers


def Milliseconds(words):
    """The duration among a step's words (`800ms`, `1s`, `300us`, or a bare number after the
    points), or None."""
    for word in words:
        for unit, scale in (("ms", 1.0), ("us", 0.001), ("s", 1000.0)):
            if word.lower().endswith(unit):
                try:
                    return float(word[: -len(unit)]) * scale
                except ValueError:
                    break
    return None


def ReadScenario(path, fromLine, toLine):
    """(width, height, touch contacts, right-button points) of the scenario's pixel steps."""
    width, height = 1024, 768
    contacts, rights = [], []
    current = None
    plugged = True  # with the cable out the pen reaches no one
    monitors, projector = [], 0

    def End(cut=False):
        nonlocal current
        if current is not None:
            current.cut = cut
            contacts.append(current)
        current = None

    for number, keyword, words in ScenarioLines(path):
        if keyword == "screen":
            width, height = int(words[1]), int(words[2])
            continue
        # On a desktop of monitors the points are pixels of the projector's monitor.
        if keyword == "monitor":
            monitors.append(tuple(int(w) for w in words[1:5]))
            continue
        if keyword == "projector":
            projector = int(words[1]) - 1
            continue
        if number < fromLine or number > toLine:
            continue
        if keyword in ("unplug", "plug"):
            End(cut=keyword == "unplug")
            plugged = keyword == "plug"
            continue
        if not plugged:
            continue
        options = {w.lower() for w in words[1:] if w[0].isalpha()}
        cells = "cells" in options
        if keyword in ("touch", "stroke") and not cells:
            contact = next((o for o in options if o != "px"), "touch")
            if keyword == "touch" or contact == "touch":
                points = Numbers(words[1:])
                points = points[:2] if keyword == "touch" else points[:4]
                if current is None:
                    current = Contact(number)
                for i in range(0, len(points) - 1, 2):
                    p = (points[i], points[i + 1])
                    if not current.path or current.path[-1] != p:
                        current.path.append(p)
                if keyword == "stroke":
                    duration = Milliseconds(words[1:])
                    if duration is None and len(Numbers(words[1:])) > 4:
                        duration = Numbers(words[1:])[4]
                    length = math.dist(points[0:2], points[2:4])
                    current.speed = length / duration if duration else 0.0
                else:
                    current.speed = 0.0
                continue
            End()
            if contact == "right":
                rights.append(tuple(Numbers(words[1:])[2:4]))
            continue
        if keyword == "right" and not cells:
            End()
            rights.append(tuple(Numbers(words[1:])[:2]))
            continue
        if keyword in ("hover", "near", "lift", "tapkey", "calibrate", "keycalibrate",
                       "readfail", "touch", "stroke"):
            End()
        # wait, menu, client, settings: the pen stays as it is
    End()
    origin = (0, 0)
    if monitors:
        left, top, width, height = monitors[min(projector, len(monitors) - 1)]
        origin = (left, top)
    return width, height, contacts, rights, origin


def ReadLog(path, origin=(0, 0)):
    """[(t_ms, kind, x, y)] with kinds down, move, up, hover, rdown, rup. razazide-sim's
    positions are of the virtual desktop: they are taken relative to ORIGIN, the projector
    monitor's top-left, where a canvas over that monitor has its own."""
    events = []
    leftDown = False
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.strip()
            if line.startswith("{"):
                record = json.loads(line)
                if record.get("event") != "mouse":
                    continue
                names = record["names"].split("|")
                at = (record["t_ms"], float(record["x"]) - origin[0],
                      float(record["y"]) - origin[1])
                if "MOVE" in names:
                    events.append((at[0], "move" if leftDown else "hover", at[1], at[2]))
                for name, kind in (("LEFTDOWN", "down"), ("LEFTUP", "up"), ("RIGHTDOWN", "rdown"),
                                   ("RIGHTUP", "rup")):
                    if name in names:
                        events.append((at[0], kind, at[1], at[2]))
                        leftDown = {"down": True, "up": False}.get(kind, leftDown)
                continue
            words = line.split()
            if len(words) == 4:
                events.append((float(words[0]), words[1], float(words[2]), float(words[3])))
    return events


def PathDistance(p, path):
    if len(path) == 1:
        return math.dist(p, path[0])
    return min(SegmentDistance(p, path[i], path[i + 1]) for i in range(len(path) - 1))


def Report(ok, description):
    print(("ok   - " if ok else "FAIL - ") + description)
    return ok


def Presses(events):
    """The log's left contacts: (press, [drag events], release or None), and the drag events
    that came with no press."""
    presses, strays = [], []
    current = None
    for event in events:
        kind = event[1]
        if kind == "down":
            if current is not None:
                presses.append(current)
            current = (event, [], None)
        elif kind == "move":
            (current[1] if current is not None else strays).append(event)
        elif kind == "up" and current is not None:
            presses.append((current[0], current[1], event))
            current = None
    if current is not None:
        presses.append(current)
    return presses, strays


def Main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n", 1)[0])
    parser.add_argument("--calibrated", action="store_true")
    parser.add_argument("--from-line", type=int, default=1)
    parser.add_argument("--to-line", type=int, default=10**9)
    parser.add_argument("--count", action="store_true",
                        help="only print how many touch contacts the scenario has")
    parser.add_argument("scenario")
    parser.add_argument("log", nargs="?")
    args = parser.parse_args(argv[1:])

    width, height, contacts, rights, origin = ReadScenario(args.scenario, args.from_line,
                                                           args.to_line)
    if args.count:
        print(len(contacts))
        return 0
    if args.log is None:
        parser.error("the event log to check is missing")
    if args.calibrated:
        def Place(p):
            return (p[0] - 0.5, p[1] - 0.5)
    else:
        def Place(p):
            return (p[0] * (width - 1) / width, p[1] * (height - 1) / height)
    for contact in contacts:
        contact.path = [Place(p) for p in contact.path]
    rights = [Place(p) for p in rights]

    events = ReadLog(args.log, origin)
    presses, strays = Presses(events)
    results = [Report(len(presses) == len(contacts),
                      f"{len(presses)} left presses for the scenario's {len(contacts)} touch "
                      f"contacts on the screen")]
    results.append(Report(not strays, f"no drag point outside a press ({len(strays)})"))

    allDistances = []
    for number, (contact, (press, drag, release)) in enumerate(zip(contacts, presses), start=1):
        name = f"contact {number} (scenario line {contact.line})"
        start, end = contact.path[0], contact.path[-1]
        points = [(press[2], press[3])] + [(e[2], e[3]) for e in drag]
        distances = [PathDistance(p, contact.path) for p in points]
        allDistances += distances
        worst = max(distances)
        worstAt = points[distances.index(worst)]
        ok = math.dist(points[0], start) <= TOLERANCE and worst <= TOLERANCE
        lines = [f"press ({points[0][0]:.0f},{points[0][1]:.0f}) within {TOLERANCE:.0f} px of "
                 f"({start[0]:.1f},{start[1]:.1f}), {len(drag)} drag points, path distance max "
                 f"{worst:.2f} px at ({worstAt[0]:.0f},{worstAt[1]:.0f})"]
        if release is None:
            ok = False
            lines.append("never released")
        elif contact.cut:
            last = points[-1]
            late = release[0] - (drag[-1][0] if drag else press[0])
            slack = math.dist(last, end)
            at = math.dist((release[2], release[3]), last)
            allowed = contact.speed * CUT_LAG_MS + TOLERANCE
            ok = ok and late <= CUT_RELEASE_MS and slack <= allowed and at <= TOLERANCE
            lines.append(f"cable pulled at ({end[0]:.1f},{end[1]:.1f}): last drag point "
                         f"{slack:.1f} px short (at most {allowed:.1f}), released {late:.0f} ms "
                         f"later (at most {CUT_RELEASE_MS:.0f}) {at:.1f} px from it")
        else:
            last = points[-1]
            ok = ok and math.dist(last, end) <= TOLERANCE
            lines.append(f"last drag point {math.dist(last, end):.2f} px from the end "
                         f"({end[0]:.1f},{end[1]:.1f})")
        results.append(Report(ok, f"{name}: " + "; ".join(lines)))

    if allDistances:
        print(f"# {len(allDistances)} press and drag points: distance to the pen's path max "
              f"{max(allDistances):.2f} px, median {statistics.median(allDistances):.2f} px")

    clicks = [e for e in events if e[1] in ("rdown", "rup")]
    if rights:
        worst = max((min(math.dist((e[2], e[3]), r) for r in rights) for e in clicks),
                    default=float("inf"))
        results.append(Report(
            clicks and worst <= TOLERANCE and sum(e[1] == "rup" for e in clicks) >= len(rights),
            f"{sum(e[1] == 'rup' for e in clicks)} right-clicks for {len(rights)} right-button "
            f"contacts, each within {TOLERANCE:.0f} px of the pen (max {worst:.2f} px)"))
    else:
        results.append(Report(not clicks, f"no right-click ({len(clicks)} right button events)"))
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(Main(sys.argv))
