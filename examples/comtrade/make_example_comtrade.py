#!/usr/bin/env python3
"""Writes the example COMTRADE record examples/comtrade/fault_3ph_60hz.{cfg,dat,hdr}.

A made-up 138 kV line relay recording (IEEE C37.111-1999, ASCII data):
three phase-to-ground voltages (bus side) and three line currents at 60 Hz,
sampled at 3840 Hz (64 samples per cycle) for 0.75 s, plus two status
channels. A phase-A-to-ground fault starts at 0.2 s: phase A current rises to
about eight times load with a decaying DC offset and phase A voltage sags to
30 %. The relay trips at 0.25 s and the breaker opens at 0.30 s, after which
the line currents are zero and the bus voltages recover.

The record is deterministic: running the script again gives the same bytes.
Usage: python3 examples/comtrade/make_example_comtrade.py [output folder]
"""

import math
import os
import sys

NAME = "fault_3ph_60hz"
F = 60.0
RATE = 3840.0
SAMPLES = 2880  # 0.75 s
FAULT, TRIP, OPEN = 0.200, 0.250, 0.300

V_PEAK = 138.0 / math.sqrt(3) * math.sqrt(2)  # kV, phase to ground
I_LOAD = 400.0 * math.sqrt(2)  # A peak
V_SCALE = 0.005  # kV per count
I_SCALE = 0.5  # A per count
SHIFT = (0.0, -2 * math.pi / 3, 2 * math.pi / 3)


def sample(k):
    t = k / RATE
    w = 2 * math.pi * F
    volts, amps = [], []
    for p, shift in enumerate(SHIFT):
        v = V_PEAK * math.sin(w * t + shift)
        i = I_LOAD * math.sin(w * t + shift - math.radians(25))
        if FAULT <= t < OPEN:
            if p == 0:
                v *= 0.30
                tf = t - FAULT
                phase = w * FAULT + shift - math.radians(80)
                i = 8 * I_LOAD * (math.sin(w * t + shift - math.radians(80))
                                  - math.sin(phase) * math.exp(-tf / 0.03))
            else:
                v *= 1.05
        if t >= OPEN:
            i = 0.0
        volts.append(round(v / V_SCALE))
        amps.append(round(i / I_SCALE))
    trip = 1 if TRIP <= t < OPEN + 0.05 else 0
    closed = 1 if t < OPEN else 0
    return volts + amps + [closed, trip]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)
    period_us = 1e6 / RATE
    cfg = ["KOVATRIX EXAMPLE SUBSTATION,7,1999",
           "8,6A,2D"]
    for n, (name, ph, unit, a, pri, sec) in enumerate([
            ("VA", "A", "kV", V_SCALE, 138000, 115), ("VB", "B", "kV", V_SCALE, 138000, 115),
            ("VC", "C", "kV", V_SCALE, 138000, 115), ("IA", "A", "A", I_SCALE, 1200, 5),
            ("IB", "B", "A", I_SCALE, 1200, 5), ("IC", "C", "A", I_SCALE, 1200, 5)], start=1):
        cfg.append(f"{n},{name},{ph},LINE 1,{unit},{a},0,0,-32767,32767,{pri},{sec},P")
    cfg += ["1,52A BREAKER CLOSED,,LINE 1,1", "2,TRIP,,LINE 1,0",
            f"{F:g}", "1", f"{RATE:g},{SAMPLES}",
            "06/12/2026,14:03:27.250000", "06/12/2026,14:03:27.450000", "ASCII", "1"]
    with open(os.path.join(out, NAME + ".cfg"), "w", newline="\r\n") as f:
        f.write("\n".join(cfg) + "\n")
    with open(os.path.join(out, NAME + ".dat"), "w", newline="\r\n") as f:
        for k in range(SAMPLES):
            values = ",".join(str(v) for v in sample(k))
            f.write(f"{k + 1},{round(k * period_us)},{values}\n")
    with open(os.path.join(out, NAME + ".hdr"), "w", newline="\r\n") as f:
        f.write("KOV example record, written by examples/comtrade/make_example_comtrade.py.\n"
                "Made-up 138 kV line, phase A to ground fault at 200 ms,\n"
                "trip at 250 ms, breaker open at 300 ms. Not a real recording.\n")


if __name__ == "__main__":
    main()
