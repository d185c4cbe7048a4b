#!/usr/bin/env python3
"""Reads the runs of bench/latency.sh and prints the latency, Timer1 and CPU table.

Per run folder: app/siusbxp-stamps.log (stand-in library: 'report INDEX MICROS CONTACT' when a
report became readable, 'poll MICROS' for each queue-status call), events.log (latency client:
'MICROS KIND X Y' for each mouse event), cpu.txt ('idle|writing TICKS SECONDS').
A press is due to the first touch report after a report without the pen touching, a release to
the first report without a touch after a touch; its latency is the time from that report
becoming readable to the first event of its kind after it.
"""
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
                reports.append((int(w[2]), w[3]))
            elif w[0] == "poll":
                polls.append(int(w[1]))
    events = []
    with open(os.path.join(folder, "events.log")) as f:
        for line in f:
            w = line.split()
            events.append((int(w[0]), w[1]))
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
    for micros, contact in reports:
        if contact == "touch" and not touching:
            due.append((micros, "down"))
        elif contact != "touch" and touching:
            due.append((micros, "up"))
        touching = contact == "touch"
    out, waits, missed = [], [], 0
    for i, (t, kind) in enumerate(due):
        limit = due[i + 1][0] if i + 1 < len(due) else float("inf")
        hit = next((e for e, k in events if k == kind and t <= e < limit), None)
        if hit is None:
            missed += 1
            continue
        out.append((hit - t) / 1000.0)
        poll = next((p for p in polls if p >= t), None)
        if poll is not None and poll <= hit:
            waits.append((poll - t) / 1000.0)
    span = (due[0][0], due[-1][0]) if due else (0, 0)
    return out, waits, missed, span


def main():
    folder, variants = sys.argv[1], sys.argv[2:]
    print("| Timer1 | load | samples (missed) | latency median | p95 | p99 | max "
          "| of it, wait for the poll (median) | Timer1 period median | p95 | CPU idle | CPU writing |")
    print("|---|---|---|---|---|---|---|---|---|---|---|---|")
    names = {"precise": "precise timer", "wmtimer": "WM_TIMER", "priority": "precise, raised priority"}
    for variant in variants:
        for load in ("idle", "busy"):
            run = os.path.join(folder, f"{variant}-{load}")
            if not os.path.isdir(run):
                continue
            reports, polls, events, cpu = read_run(run)
            values, waits, missed, (start, end) = latencies(reports, events, polls)
            taps = [p for p in polls if start <= p <= end]
            periods = [(b - a) / 1000.0 for a, b in zip(taps, taps[1:])]
            print(f"| {names.get(variant, variant)} | {load} | {len(values)} ({missed}) "
                  f"| {quantile(values, 0.5):.2f} ms | {quantile(values, 0.95):.2f} ms "
                  f"| {quantile(values, 0.99):.2f} ms | {max(values, default=float('nan')):.2f} ms "
                  f"| {quantile(waits, 0.5):.2f} ms "
                  f"| {quantile(periods, 0.5):.2f} ms | {quantile(periods, 0.95):.2f} ms "
                  f"| {cpu.get('idle', float('nan')):.1f} ms/s | {cpu.get('writing', float('nan')):.1f} ms/s |")


if __name__ == "__main__":
    main()
