#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Stage-area rating of a comma-delimited cross-section, scripted with pandas and numpy.

The job of `korvadel-cli rating FILE.csv --min A --max B --increment C`, written the way a
hydrologist would script it: read the points, sort them by station (equal stations keep their
file order), and for every stage from the minimum up to the maximum add up the wetted area of
the channel through the points, closed by vertical walls at the first and the last point. Stages
are rounded to 0.01 and areas to 0.001, and the table is written as `stage,area` lines ending
in CR LF, followed by an empty line, as the rating command writes it.

    python3 rating.py section.csv --min 0 --max 9.99 --increment 0.01 [--datum 0] [-o out.csv]
"""

import argparse
import sys

import numpy as np
import pandas as pd


def read_section(path):
    """Station and elevation from the first two fields; a first line of text is a heading."""
    with open(path, newline="") as f:
        first = f.readline().split(",")
    try:
        float(first[0])
        heading = False
    except (ValueError, IndexError):
        heading = True
    points = pd.read_csv(path, header=None, usecols=[0, 1], names=["station", "elevation"],
                         skiprows=1 if heading else 0, dtype=float)
    return points.sort_values("station", kind="stable", ignore_index=True)


def gage_heights(minimum, maximum, increment):
    """From the minimum by repeated addition, while the sum stays at or below the maximum."""
    stages = []
    stage = minimum
    while stage <= maximum:
        stages.append(stage)
        stage += increment
    return np.array(stages)


def rating(points, stages, datum):
    """Wetted area below each stage: every segment between neighbouring points, vectorised."""
    station = points["station"].to_numpy()
    height = points["elevation"].to_numpy() - datum  # bed as gage heights
    width = np.abs(np.diff(station))
    low = np.minimum(height[:-1], height[1:])
    high = np.maximum(height[:-1], height[1:])
    drop = high - low
    sloped = drop > 0
    # A segment partly under water holds a triangle of water: width / drop * depth^2 / 2.
    factor = np.divide(width, 2 * drop, out=np.zeros_like(width), where=sloped)
    areas = np.empty(len(stages))
    for k, stage in enumerate(stages):
        depth_low = np.maximum(stage - low, 0.0)
        depth_high = np.maximum(stage - high, 0.0)
        submerged = depth_high > 0
        area = np.where(submerged, width * (depth_low + depth_high) / 2,  # trapezoid
                        np.where(sloped, factor * depth_low ** 2, width * depth_low))
        areas[k] = area.sum()
    return areas


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("file")
    parser.add_argument("--min", type=float, default=0.0)
    parser.add_argument("--max", type=float, default=1.0)
    parser.add_argument("--increment", type=float, default=0.01)
    parser.add_argument("--datum", type=float, default=0.0)
    parser.add_argument("-o", "--output", default=None)
    args = parser.parse_args()

    points = read_section(args.file)
    stages = gage_heights(args.min, args.max, args.increment)
    table = pd.DataFrame({"stage": np.round(stages, 2),
                          "area": np.round(rating(points, stages, args.datum), 3)})
    out = open(args.output, "w", newline="") if args.output else sys.stdout
    with out:
        table.to_csv(out, header=False, index=False, float_format="%.15g",
                     lineterminator="\r\n")
        out.write("\r\n")  # the rating command's file ends with an empty line


if __name__ == "__main__":
    main()
