#!/usr/bin/python3
"""Independent reference values for the transform and calculator tests.

Computes with numpy and scipy (Debian python3-numpy, python3-scipy), not with
KOV's code, the values that ReferenceTest.cpp checks, and writes them to
ReferenceData.h beside this script. The test run itself needs no Python:
rerun this script and commit its output only when the inputs change.

    /usr/bin/python3 tests/analysis/reference/make_reference.py

Inputs are defined here and rebuilt identically by ReferenceTest.cpp: sample
times t_i = t0 + i dt and values f(t_i), both rounded to single precision
(KOV stores samples in single precision).

What is computed:
  - FFT lines: the waveform resampled at start + i T / N by linear
    interpolation (numpy.interp), windowed, transformed with numpy.fft.fft and
    scaled as KOV's lines are defined (line 0 the mean, others the RMS value,
    divided by the window's energy gain sqrt(mean w^2));
  - zero-phase Butterworth: scipy.signal.butter(2 x sections, f, fs=...,
    output='sos') applied as KOV applies it: reversed, filtered from rest,
    reversed, filtered from rest (scipy's sosfiltfilt pads the ends and starts
    from steady state, so sosfilt on reversed data is used instead);
  - correlations: each lag's trapezoid by scipy.integrate.trapezoid;
  - running integrals: scipy.integrate.cumulative_trapezoid on a non-uniform grid.
"""
import math
import os

import numpy as np
from scipy import integrate, signal

F32 = np.float32


def samples(n, dt, f, t0=0.0):
    t = t0 + np.arange(n) * dt
    return t.astype(F32), f(t).astype(F32)


def window(n, kind):
    i = np.arange(n, dtype=np.float64)
    c = n / 2.0
    if kind == 0:
        return np.ones(n)
    if kind == 1:
        return 0.5 * (1.0 - np.cos(2.0 * np.pi * i / n))
    if kind == 2:
        return 1.0 - ((i - c) / c) ** 2
    return 1.0 - np.abs((i - c) / c)


def fft_lines(x32, y32, f0, cycles, start, kind):
    x = x32.astype(np.float64)
    y = y32.astype(np.float64)
    dt = x[1] - x[0]
    df = f0 / cycles
    T = 1.0 / df
    k = math.trunc(math.log2(T / dt) + 0.5)
    N = 2 ** k
    s = float(F32(start))
    instants = s + np.arange(N) * (T / N)
    resampled = np.interp(instants, x, y).astype(F32)
    w = window(N, kind)
    gain = math.sqrt(np.sum(w * w) / N)
    windowed = (resampled.astype(np.float64) * w).astype(F32)
    X = np.fft.fft(windowed.astype(np.float64))
    M = N // 2
    mag = np.abs(X[:M])
    mag[0] = mag[0] / N / gain
    mag[1:] = mag[1:] / M / math.sqrt(2.0) / gain
    phase = np.angle(X[:M])
    return mag, phase


def zero_phase(y32, kind, f, dt, sections):
    sos = signal.butter(2 * sections, f, btype=kind, fs=1.0 / dt, output='sos')
    y = y32.astype(np.float64)[::-1]
    y = signal.sosfilt(sos, y)[::-1]
    return signal.sosfilt(sos, y)


def correlation(y1, y2, k, h):
    n = len(y1)
    p = np.zeros(n)
    for i in range(n):
        j = i + k
        if 0 <= j < len(y2):
            p[i] = float(y1[i]) * float(y2[j])
    return integrate.trapezoid(p, dx=h)


def emit(out, name, values):
    text = ', '.join(repr(float(v)) for v in values)
    out.append(f'inline constexpr double {name}[] = {{{text}}};')


def main():
    out = []

    # FFT: a distorted 60 Hz wave at 5 kHz (T/dt = 83.3: down-sampled to N = 64,
    # and 2 cycles: N = 128), windows and a start between samples.
    def wave(t):
        return (1.5 + 2.0 * np.cos(2 * np.pi * 60 * t + 0.3) + 0.5 * np.cos(2 * np.pi * 300 * t - 1.1)
                + 0.2 * np.sin(2 * np.pi * 420 * t))
    x, y = samples(600, 1.0 / 5000, wave)
    for kind, name in enumerate(['Rectangular', 'Hanning', 'Welsh', 'Bartlett']):
        mag, phase = fft_lines(x, y, 60.0, 2, 0.0043, kind)
        emit(out, f'kFft{name}Magnitude', mag)
        emit(out, f'kFft{name}Phase', phase)
    mag, phase = fft_lines(x, y, 60.0, 1, 0.0, 0)
    emit(out, 'kFftOneCycleMagnitude', mag)

    # Zero-phase Butterworth of a 50 Hz + 900 Hz mix at 10 kHz.
    def mix(t):
        return np.sin(2 * np.pi * 50 * t) + 0.5 * np.sin(2 * np.pi * 900 * t + 0.2)
    _, yf = samples(1000, 1e-4, mix)
    emit(out, 'kLowPass200', zero_phase(yf, 'lowpass', 200.0, 1e-4, 3))
    emit(out, 'kHighPass400x2', zero_phase(yf, 'highpass', 400.0, 1e-4, 2))

    # Correlations of two short signals (h = (x[2] - x[0]) / 2 = 0.01).
    _, c1 = samples(40, 0.01, lambda t: np.sin(7 * t) + 0.3 * t)
    _, c2 = samples(40, 0.01, lambda t: np.cos(11 * t) - 0.1)
    n = len(c1)
    emit(out, 'kAutoCorrelation', [correlation(c1, c1, k, 0.01) for k in range(n)])
    emit(out, 'kCrossCorrelation', [correlation(c1, c2, k, 0.01) for k in range(1 - n, n)])

    # Running integral on a non-uniform grid.
    xi = np.array([0.0, 0.1, 0.25, 0.3, 0.7, 1.0, 1.05], dtype=F32)
    yi = np.array([1.0, 3.0, -2.0, 0.5, 4.0, 2.5, -1.0], dtype=F32)
    emit(out, 'kRunningIntegral',
         integrate.cumulative_trapezoid(yi.astype(np.float64), xi.astype(np.float64), initial=0))

    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'ReferenceData.h')
    with open(path, 'w') as f:
        f.write('#pragma once\n// Generated by make_reference.py (numpy ' + np.__version__ + ', scipy '
                + __import__('scipy').__version__ + '); do not edit.\n\n'
                'namespace kov::reference {\n\n')
        f.write('\n'.join(out))
        f.write('\n\n}  // namespace kov::reference\n')


if __name__ == '__main__':
    main()
