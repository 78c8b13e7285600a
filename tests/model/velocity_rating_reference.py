#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes tests/data/velocity-rating-reference.json: velocity ratings fitted to a few data sets
by another road than the program's, for velocity_rating_test.cpp to compare with.

The least squares come from numpy's singular value decomposition (the program uses a pivoting
QR factorisation), (X'X)^-1 from the same decomposition, and the Student t and F distributions
from scipy.stats (the program uses Boost.Math). Run it again only when the cases change:

    /usr/bin/python3 tests/model/velocity_rating_reference.py   (needs python3-numpy, -scipy)
"""

import json
import os
import random

import numpy as np
from scipy import stats

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), "data", "velocity-rating-reference.json")


def terms(model, vi, gh, breakpoint):
    if model == "simple":
        return [1.0, vi]
    if model == "coefficient":
        return [vi]
    if model == "stage":
        return [1.0, vi, vi * gh]
    return [1.0, vi, vi - breakpoint if vi > breakpoint else 0.0]


def fit(case):
    model, breakpoint = case["model"], case.get("breakpoint", 0.0)
    samples = case["samples"]
    x = np.array([terms(model, vi, gh, breakpoint) for vi, gh, _ in samples])
    y = np.array([v for _, _, v in samples])
    n, p = x.shape
    u, s, vt = np.linalg.svd(x, full_matrices=False)
    beta = vt.T @ ((u.T @ y) / s)
    unscaled = vt.T @ np.diag(1.0 / s ** 2) @ vt
    fitted = x @ beta
    rss = float(np.sum((y - fitted) ** 2))
    intercept = model != "coefficient"
    mss = float(np.sum((fitted - fitted.mean()) ** 2) if intercept else np.sum(fitted ** 2))
    df = n - p
    df_model = p - 1 if intercept else p
    variance = rss / df
    se = np.sqrt(variance * np.diag(unscaled))
    t = beta / se
    r2 = mss / (mss + rss)
    f = (mss / df_model) / variance
    t_critical = float(stats.t.ppf(0.975, df))

    def interval(vi, gh):
        row = np.array(terms(model, vi, gh, breakpoint))
        centre = float(row @ beta)
        half = t_critical * np.sqrt(variance * (1.0 + row @ unscaled @ row))
        return [centre - half, centre + half]

    points = [[vi, gh] for vi, gh, _ in samples] + case.get("predict_at", [])
    return {
        "coefficients": [[float(beta[j]), float(se[j]), float(t[j]),
                          float(2.0 * stats.t.sf(abs(t[j]), df))] for j in range(p)],
        "r_squared": r2,
        "adjusted_r_squared": 1.0 - (1.0 - r2) * (n - (1 if intercept else 0)) / df,
        "standard_error_of_estimate": float(np.sqrt(variance)),
        "f": float(f),
        "f_p": float(stats.f.sf(f, df_model, df)),
        "t_critical": t_critical,
        "predictions": [[vi, gh] + interval(vi, gh) for vi, gh in points],
    }


def noisy_set(seed, n, low, high, intercept, slope, stage_term, noise):
    rng = random.Random(seed)
    samples = []
    for _ in range(n):
        vi = round(rng.uniform(low, high), 3)
        gh = round(rng.uniform(1.5, 4.5), 2)
        v = intercept + slope * vi + stage_term * vi * gh
        samples.append([vi, gh, round(v * (1.0 + rng.gauss(0.0, noise)), 6)])
    return samples


def harlan_fit_samples():
    """The fit measurements of examples/harlan-canal-measurements.csv, their mean velocities
    being discharge / rated area at the section's wetted area."""
    points = [(0.0, 101.20), (2.0, 99.10), (5.0, 96.60), (8.0, 95.80), (14.0, 95.60),
              (20.0, 95.70), (24.0, 96.50), (27.0, 99.00), (29.0, 101.30)]

    def area(gh):
        level, total = gh + 95.0, 0.0
        for (s1, e1), (s2, e2) in zip(points, points[1:]):
            w = abs(s2 - s1)
            if e1 > level and e2 > level:
                continue
            if e1 > level:
                total += w / (e1 - e2) * 0.5 * (level - e2) ** 2
            elif e2 > level:
                total += w / (e2 - e1) * 0.5 * (level - e1) ** 2
            else:
                total += w * (level - (e1 + e2) / 2)
        return total

    samples = []
    path = os.path.join(os.path.dirname(os.path.dirname(HERE)), "examples",
                        "harlan-canal-measurements.csv")
    with open(path) as f:
        heading = f.readline().strip().split(",")
        for line in f:
            row = dict(zip(heading, line.strip().split(",")))
            if row["use"] == "fit":
                gh = float(row["gage_height"])
                samples.append([float(row["index_velocity"]), gh,
                                float(row["discharge"]) / area(gh)])
    return samples


def main():
    harlan = harlan_fit_samples()
    tidal = noisy_set(7, 30, -0.8, 1.1, 0.01, 0.92, 0.0, 0.0)
    rng = random.Random(8)
    for s in tidal:
        s[2] = round(s[2] + rng.gauss(0.0, 0.02), 6)
    cases = [
        {"name": "harlan canal, simple", "model": "simple", "samples": harlan,
         "predict_at": [[0.0, 3.0], [1.5, 3.0], [-0.2, 2.0]]},
        {"name": "harlan canal, coefficient", "model": "coefficient", "samples": harlan},
        {"name": "harlan canal, stage", "model": "stage", "samples": harlan},
        {"name": "harlan canal, compound at 0.8", "model": "compound", "breakpoint": 0.8,
         "samples": harlan, "predict_at": [[0.8, 3.0], [1.4, 3.0]]},
        {"name": "reversing flow, simple", "model": "simple", "samples": tidal},
        {"name": "stage term, 12 measurements", "model": "stage",
         "samples": noisy_set(11, 12, 0.2, 1.6, 0.05, 0.8, 0.03, 0.03)},
        {"name": "weak relation, 6 measurements", "model": "simple",
         "samples": noisy_set(12, 6, 0.4, 0.6, 0.3, 0.2, 0.0, 0.15)},
        {"name": "three measurements, coefficient", "model": "coefficient",
         "samples": [[0.5, 2.0, 0.52], [0.8, 2.5, 0.79], [1.1, 3.0, 1.13]]},
        {"name": "compound, 40 measurements at 1.0", "model": "compound", "breakpoint": 1.0,
         "samples": noisy_set(13, 40, 0.1, 1.8, 0.02, 0.9, 0.0, 0.02)},
    ]
    for case in cases:
        case["expected"] = fit(case)
    with open(OUT, "w") as out:
        json.dump({"made_by": "tests/model/velocity_rating_reference.py (numpy SVD, scipy.stats)",
                   "cases": cases}, out, indent=1)
        out.write("\n")


if __name__ == "__main__":
    main()
