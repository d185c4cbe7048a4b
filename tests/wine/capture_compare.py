#!/usr/bin/env python3
"""Compares the mouse events RA_Zazide.exe produced live (the ink canvas's log) with the events
razazide-sim produced replaying razazide-record's capture of the same scenario.

    capture_compare.py CANVAS_LOG REPLAY_JSON_LINES

The live driver and the recorder each poll on their own clock, so their polls fall at different
moments; what stays the same is what the pen did, and that is what is compared:
  - buttons: the left presses and releases, in order, at the same pixels, exactly;
  - right-clicks: every one at the pixel of the live ones. Their number follows how many polls
    fall inside the held button (one click per third poll), and that follows each process's
    timer on a shared machine: both counts are printed, not compared (typically 16 and 16; a
    recorder starved of CPU during the 100 ms hold polled less and its replay clicked 7 times);
  - drag points: each drag point of either run lies within TOLERANCE pixels of the other run's
    drag path (the replay has more of them: it decodes every report, the live driver only the
    first of each poll once the pen moves and it slows down).
Prints one `ok   - ` or `FAIL - ` line per check and `#` lines with the measured numbers.
"""
import json
import math
import sys

TOLERANCE = 2.0

LIVE_KINDS = {"down": "down", "up": "up", "move": "drag", "rdown": "rdown", "rup": "rup"}
REPLAY_KINDS = {"LEFTDOWN": "down", "LEFTUP": "up", "RIGHTDOWN": "rdown", "RIGHTUP": "rup"}


def LiveEvents(path):
    events = []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            words = line.split()
            if len(words) == 4 and words[1] in LIVE_KINDS:
                events.append((LIVE_KINDS[words[1]], int(words[2]), int(words[3])))
    return events


def ReplayEvents(path):
    """The replayed events as the system delivers them to a window: a move while the left
    button is down is a drag point; moves without a button, and the move in front of a press or
    release, are not compared (the live canvas may see them merged)."""
    events, down = [], False
    with open(path, encoding="utf-8") as f:
        for line in f:
            record = json.loads(line)
            if record.get("event") != "mouse":
                continue
            names = record["names"].split("|")
            point = (record["x"], record["y"])
            for name in names:
                if name in REPLAY_KINDS:
                    kind = REPLAY_KINDS[name]
                    events.append((kind,) + point)
                    down = {"down": True, "up": False}.get(kind, down)
            if names == ["MOVE", "ABSOLUTE"] and down:
                events.append(("drag",) + point)
    return events


def Buttons(events, kinds):
    return [e for e in events if e[0] in kinds]


def DistanceToPath(p, path):
    if len(path) == 1:
        return math.dist(p, path[0])
    best = math.inf
    for a, b in zip(path, path[1:]):
        ax, ay, bx, by = a[0], a[1], b[0], b[1]
        length2 = (bx - ax) ** 2 + (by - ay) ** 2
        t = 0 if length2 == 0 else ((p[0] - ax) * (bx - ax) + (p[1] - ay) * (by - ay)) / length2
        t = min(1.0, max(0.0, t))
        best = min(best, math.dist(p, (ax + t * (bx - ax), ay + t * (by - ay))))
    return best


def Strokes(events):
    """Drag paths, one per left press: the press, its drag points, its release."""
    strokes, current = [], None
    for kind, x, y in events:
        if kind == "down":
            current = [(x, y)]
        elif kind == "drag" and current is not None:
            current.append((x, y))
        elif kind == "up" and current is not None:
            current.append((x, y))
            strokes.append(current)
            current = None
    return strokes


def Report(ok, text):
    print(("ok   - " if ok else "FAIL - ") + text)
    return ok


def main():
    live, replay = LiveEvents(sys.argv[1]), ReplayEvents(sys.argv[2])
    allOk = True
    left = lambda events: [e for e in Buttons(events, {"down", "up"})]
    liveLeft, replayLeft = left(live), left(replay)
    print(f"# live left buttons:   {liveLeft}")
    print(f"# replay left buttons: {replayLeft}")
    allOk &= Report(liveLeft == replayLeft and len(liveLeft) >= 6,
                    f"capture: the {len(liveLeft)} left presses and releases replay in order at "
                    f"the same pixels")

    liveRight = Buttons(live, {"rdown", "rup"})
    replayRight = Buttons(replay, {"rdown", "rup"})
    livePixels = {(x, y) for _, x, y in liveRight}
    replayPixels = {(x, y) for _, x, y in replayRight}
    liveClicks = sum(1 for e in liveRight if e[0] == "rup")
    replayClicks = sum(1 for e in replayRight if e[0] == "rup")
    print(f"# right-clicks: live {liveClicks} at {sorted(livePixels)}, "
          f"replay {replayClicks} at {sorted(replayPixels)}")
    allOk &= Report(liveClicks > 0 and replayClicks > 0 and livePixels == replayPixels,
                    f"capture: right-clicks replay at the live pixel (live {liveClicks}, replay "
                    f"{replayClicks} clicks: their number follows the polls)")

    liveStrokes, replayStrokes = Strokes(live), Strokes(replay)
    liveDrag = [p for s in liveStrokes for p in s[1:-1]]
    replayDrag = [p for s in replayStrokes for p in s[1:-1]]
    if not liveStrokes or not replayStrokes or len(liveDrag) < 10 or len(replayDrag) < 10:
        Report(False, f"capture: both runs drag (live {len(liveDrag)} points, replay "
                      f"{len(replayDrag)})")
        return 1
    longest = lambda strokes: max(strokes, key=len)
    livePath, replayPath = longest(liveStrokes), longest(replayStrokes)
    toLive = [DistanceToPath(p, livePath) for p in replayPath[1:-1]]
    toReplay = [DistanceToPath(p, replayPath) for p in livePath[1:-1]]
    print(f"# stroke: live {len(livePath) - 2} drag points, replay {len(replayPath) - 2}; "
          f"replay to live path max {max(toLive):.2f} px, live to replay path max "
          f"{max(toReplay):.2f} px")
    allOk &= Report(max(toLive + toReplay) <= TOLERANCE,
                    f"capture: every drag point of either run within {TOLERANCE:g} px of the "
                    f"other's path (max {max(toLive + toReplay):.2f} px)")
    return 0 if allOk else 1


if __name__ == "__main__":
    sys.exit(main())
