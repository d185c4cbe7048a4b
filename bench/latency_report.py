#!/usr/bin/env python3
"""Reads the runs of bench/latency.sh and prints the latency, Timer1 and CPU table.

Per run folder (VARIANT-MODE-LOAD): app/siusbxp-stamps.log (stand-in library: 'report INDEX
MICROS CONTACT X Y' when a report became readable and where the pen was on the screen, 'poll
MICROS' for each queue-status call), events.log (latency client: 'MICROS KIND X Y' for each
mouse event), cpu.txt ('nopen|idle|writing TICKS SECONDS').
A press is due to the first touch report after a report without the pen touching, a release to
the first report without a touch after a touch; its latency is the time from that report
becoming readable to the first event of its kind after it.
A drag's lag: for each move with the button down, the time since the report whose pen lay
nearest to the cursor (within 150 ms before it) became readable, by the pen's speed there.
"""
import bisect
import os
import sys

USER_HZ = os.sysconf("SC_CLK_TCK")


def quantile(values, q):
    if not values:
        return float("nan")
    values = sorted(values)
    return values[min(len(values) - 1, int(q * (len(values) - 1) + 0.5))]


def read_run(folder):
    reports, polls = [], []
    with open(os.path.join(folder, "app", "siusbxp-stamps.log")) as f:
        for line in f:
            w = line.split()
            if w[0] == "report":
                at = (float(w[4]), float(w[5])) if len(w) >= 6 else None
                reports.append((int(w[2]), w[3], at))
            elif w[0] == "poll":
                polls.append(int(w[1]))
    events = []
    with open(os.path.join(folder, "events.log")) as f:
        for line in f:
            w = line.split()
            events.append((int(w[0]), w[1], float(w[2]), float(w[3])))
    cpu = {}
    with open(os.path.join(folder, "cpu.txt")) as f:
        for line in f:
            w = line.split()
            cpu[w[0]] = int(w[1]) * 1000.0 / USER_HZ / float(w[2])  # ms of CPU per second
    return sorted(reports), sorted(polls), sorted(events), cpu


def latencies(reports, events, polls):
    """Press and release latencies in milliseconds, the part of each spent waiting for the
    driver's next poll, and the time span they cover."""
    due = []  # (micros, kind)
    touching = False
    for micros, contact, _ in reports:
        if contact == "touch" and not touching:
            due.append((micros, "down"))
        elif contact != "touch" and touching:
            due.append((micros, "up"))
        touching = contact == "touch"
    out, waits, missed = [], [], 0
    for i, (t, kind) in enumerate(due):
        limit = due[i + 1][0] if i + 1 < len(due) else float("inf")
        hit = next((e for e, k, _, _ in events if k == kind and t <= e < limit), None)
        if hit is None:
            missed += 1
            continue
        out.append((hit - t) / 1000.0)
        poll = next((p for p in polls if p >= t), None)
        if poll is not None and poll <= hit:
            waits.append((poll - t) / 1000.0)
    span = (due[0][0], due[-1][0]) if due else (0, 0)
    return out, waits, missed, span


SPEEDS = (200, 800)  # px/s of the scenario's drags


def drag_lags(reports, events):
    """Lag in ms of each move with the button down, by the pen's speed at the matched report
    (200 or 800 px/s, within 25 %; other moves are left out)."""
    touch = [(t, at) for t, contact, at in reports if contact == "touch" and at is not None]
    times = [t for t, _ in touch]
    lags = {speed: [] for speed in SPEEDS}
    down = False
    for t, kind, x, y in events:
        down = (down or kind == "down") and kind != "up"
        if kind != "move" or not down:
            continue
        lo, hi = bisect.bisect_left(times, t - 150_000), bisect.bisect_right(times, t)
        if hi - lo < 2:
            continue
        best = min(range(lo, hi), key=lambda i: (touch[i][1][0] - x) ** 2 + (touch[i][1][1] - y) ** 2)
        a, b = max(best - 10, 0), min(best + 10, len(touch) - 1)
        if touch[b][0] == touch[a][0]:
            continue
        dist = ((touch[b][1][0] - touch[a][1][0]) ** 2 + (touch[b][1][1] - touch[a][1][1]) ** 2) ** 0.5
        speed = dist / ((touch[b][0] - touch[a][0]) / 1e6)
        for s in SPEEDS:
            if abs(speed - s) < 0.25 * s:
                lags[s].append((t - touch[best][0]) / 1000.0)
    return lags


def main():
    folder, variants = sys.argv[1], sys.argv[2:]
    print("| Timer1 | pen | load | samples (missed) | latency median | p95 | p99 | max "
          "| of it, wait for the poll (median) | Timer1 period median | p95 "
          "| CPU no pen, busy poll | CPU no pen, slow poll | CPU writing "
          "| drag lag 200 px/s median | p95 | drag lag 800 px/s median | p95 |")
    print("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|")
    names = {"precise": "precise timer", "wmtimer": "WM_TIMER", "priority": "precise, raised priority"}
    for variant in variants:
        for mode in ("classic", "responsive"):
            for load in ("idle", "busy"):
                run = os.path.join(folder, f"{variant}-{mode}-{load}")
                if not os.path.isdir(run):
                    continue
                reports, polls, events, cpu = read_run(run)
                values, waits, missed, (start, end) = latencies(reports, events, polls)
                drags = drag_lags(reports, events)
                taps = [p for p in polls if start <= p <= end]
                periods = [(b - a) / 1000.0 for a, b in zip(taps, taps[1:])]
                print(f"| {names.get(variant, variant)} | {mode} | {load} | {len(values)} ({missed}) "
                      f"| {quantile(values, 0.5):.2f} ms | {quantile(values, 0.95):.2f} ms "
                      f"| {quantile(values, 0.99):.2f} ms | {max(values, default=float('nan')):.2f} ms "
                      f"| {quantile(waits, 0.5):.2f} ms "
                      f"| {quantile(periods, 0.5):.2f} ms | {quantile(periods, 0.95):.2f} ms "
                      f"| {cpu.get('nopen', float('nan')):.1f} ms/s | {cpu.get('idle', float('nan')):.1f} ms/s "
                      f"| {cpu.get('writing', float('nan')):.1f} ms/s "
                      + "".join(f"| {quantile(drags[s], 0.5):.1f} ms | {quantile(drags[s], 0.95):.1f} ms "
                                for s in SPEEDS) + "|")


if __name__ == "__main__":
    main()
