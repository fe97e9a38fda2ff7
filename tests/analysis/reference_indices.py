#!/usr/bin/env python3
"""Reference values for the analysis tests (IndexReferenceTest.cpp).

Computes, independently of the C++ code and with the standard library only,
the harmonic indices of a ten-line spectrum and the statistics of a
ten-value column, and prints them at full precision. Rerun it and paste the
output into IndexReferenceTest.cpp when the inputs change.
"""
import math
import statistics

# Telephone influence weighting table (Hz, weight).
TIF = [(60, 0.5), (180, 30), (300, 225), (360, 400), (420, 650), (540, 1320), (660, 2260),
       (720, 2760), (780, 3360), (900, 4350), (1000, 5000), (1020, 5100), (1080, 5400),
       (1140, 5630), (1260, 6050), (1380, 6370), (1440, 6650), (1500, 6680), (1620, 6790),
       (1740, 7320), (1800, 7570), (1860, 7820), (1980, 8330), (2100, 8830), (2160, 9080),
       (2220, 9330), (2340, 9840), (2460, 10340), (2580, 10600), (2820, 10210), (2940, 9820),
       (3000, 9670), (3180, 8740), (3300, 8090), (3540, 6730), (3660, 6130), (3900, 4400),
       (4020, 3700), (4260, 2750), (4380, 2190)]


def tif_weight(f):
    if f < 180:
        return max(0.0, 30 - (180 - f) * 0.2125)
    if f > 4380:
        return max(0.0, 2190 - (f - 4380) * (2190 - 840) / (5000 - 4380))
    for (f0, w0), (f1, w1) in zip(TIF, TIF[1:]):
        if f0 < f <= f1:
            return w0 + (f - f0) * (w1 - w0) / (f1 - f0)
    raise ValueError(f)


FREQ = [0, 60, 120, 180, 185, 300, 420, 660, 1000, 2700]
MAG = [2.5, 100, 3, 12, 1.5, 8, 5, 2.25, 0.75, 0.5]
F, A = 60.0, 100.0

harmonic = [m for f, m in zip(FREQ, MAG) if math.fmod(f, F) < 0.1]
rms_fh = math.sqrt(math.fsum(m * m for m in harmonic))
rms = math.sqrt(math.fsum(m * m for m in MAG))
values = {
    "thd": math.sqrt(rms_fh ** 2 - A * A) / A * 100,
    "td": math.sqrt(rms ** 2 - A * A) / A * 100,
    "rmsh": math.sqrt(rms_fh ** 2 - A * A),
    "rmsi": math.sqrt(rms ** 2 - rms_fh ** 2),
    "rmsfh": rms_fh,
    "rms": rms,
    "asum": math.fsum(MAG),
    "it": math.sqrt(math.fsum((m * tif_weight(f)) ** 2 for f, m in zip(FREQ, MAG))),
}
values["tid"] = math.sqrt(values["td"] ** 2 - values["thd"] ** 2)
values["tif"] = values["it"] / rms
for name in ["thd", "td", "tid", "rmsh", "rmsi", "rmsfh", "rms", "asum", "tif", "it"]:
    print(f"    {{\"{name}\", {values[name]!r}}},")

COLUMN = [3.2, -1.5, 7.25, 0.0, 2.5, 9.75, -4.0, 6.5, 1.25, 5.0]
sd = statistics.stdev(COLUMN)
print(f"    mean {statistics.fmean(COLUMN)!r}, variance {statistics.variance(COLUMN)!r},")
print(f"    stdDev {sd!r}, stdErr {sd / math.sqrt(len(COLUMN))!r}, median {statistics.median(COLUMN)!r}")
