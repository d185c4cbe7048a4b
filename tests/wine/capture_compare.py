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
  - drag points: each drag point of either run's longest stroke lies within TOLERANCE pixels of
    the other run's (the replay has more of them: it decodes every report, the live driver only
    the first of each poll once the pen moves and it slows down).
Prints one `ok   - ` or `FAIL - ` line per check and `#` lines with the measured numbers.
"""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools" / "ink_canvas"))
from ink_check import PathDistance, Presses, ReadLog, Report  # noqa: E402

TOLERANCE = 2.0


def Buttons(events, kinds):
    return [(kind, round(x), round(y)) for _, kind, x, y in events if kind in kinds]


def LongestStroke(events):
    """The points of the left contact with the most drag points: press, drags, release."""
    strokes = [[press] + drag + ([release] if release else [])
               for press, drag, release in Presses(events)[0]]
    return [(e[2], e[3]) for e in max(strokes, key=len, default=[])]


def main():
    live, replay = ReadLog(sys.argv[1]), ReadLog(sys.argv[2])
    allOk = True
    liveLeft, replayLeft = Buttons(live, {"down", "up"}), Buttons(replay, {"down", "up"})
    print(f"# live left buttons:   {liveLeft}")
    print(f"# replay left buttons: {replayLeft}")
    allOk &= Report(liveLeft == replayLeft and len(liveLeft) >= 6,
                    f"capture: the {len(liveLeft)} left presses and releases replay in order at "
                    f"the same pixels")

    liveRight, replayRight = Buttons(live, {"rdown", "rup"}), Buttons(replay, {"rdown", "rup"})
    livePixels = {(x, y) for _, x, y in liveRight}
    replayPixels = {(x, y) for _, x, y in replayRight}
    liveClicks = sum(1 for e in liveRight if e[0] == "rup")
    replayClicks = sum(1 for e in replayRight if e[0] == "rup")
    print(f"# right-clicks: live {liveClicks} at {sorted(livePixels)}, "
          f"replay {replayClicks} at {sorted(replayPixels)}")
    allOk &= Report(liveClicks > 0 and replayClicks > 0 and livePixels == replayPixels,
                    f"capture: right-clicks replay at the live pixel (live {liveClicks}, replay "
                    f"{replayClicks} clicks: their number follows the polls)")

    livePath, replayPath = LongestStroke(live), LongestStroke(replay)
    if len(livePath) < 12 or len(replayPath) < 12:
        Report(False, f"capture: both runs drag (live {len(livePath) - 2} points, replay "
                      f"{len(replayPath) - 2})")
        return 1
    toLive = [PathDistance(p, livePath) for p in replayPath[1:-1]]
    toReplay = [PathDistance(p, replayPath) for p in livePath[1:-1]]
    print(f"# stroke: live {len(livePath) - 2} drag points, replay {len(replayPath) - 2}; "
          f"replay to live path max {max(toLive):.2f} px, live to replay path max "
          f"{max(toReplay):.2f} px")
    allOk &= Report(max(toLive + toReplay) <= TOLERANCE,
                    f"capture: every drag point of either run within {TOLERANCE:g} px of the "
                    f"other's path (max {max(toLive + toReplay):.2f} px)")
    return 0 if allOk else 1


if __name__ == "__main__":
    sys.exit(main())
