#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times `korvadel-cli rating` against the pandas + numpy script beside this file on one generated
comma-delimited section, and checks that the two tables agree.

    python3 bench/peers/compare.py [--points 1000000] [--repeat 5] [--cli PATH]

Each run is a whole process, started the way a user would start it: reading the file, sorting
the points, 1,000 stages of wetted area and writing the table. Wall time and CPU time (user +
system, all threads) are measured per run; the best and the median of the repetitions are shown,
and the ratios script / korvadel-cli. Needs Debian's python3-numpy and python3-pandas for the
script (any Python 3 runs this file) and a release build of korvadel-cli
(`cmake --preset release && cmake --build --preset release --target korvadel-cli`).
"""

import argparse
import os
import random
import resource
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
MINIMUM, MAXIMUM, INCREMENT = "0", "9.99", "0.01"


def python_with_pandas():
    """This interpreter or Debian's, whichever imports numpy and pandas."""
    for candidate in dict.fromkeys([sys.executable, "/usr/bin/python3"]):
        if candidate and os.path.exists(candidate):
            probe = subprocess.run([candidate, "-c", "import numpy, pandas"],
                                   capture_output=True)
            if probe.returncode == 0:
                return candidate
    return None


def write_section(path, points):
    """A channel 500 wide and about 10.5 deep, so that the stages sweep it from dry to nearly
    full without passing the banks, surveyed from bank to bank (in station order, as most survey
    files are), elevations to the millimetre."""
    rng = random.Random(17)
    with open(path, "w", newline="") as out:
        lines = []
        for i in range(points):
            x = i / (points - 1)
            elevation = 10.5 * (abs(2.0 * x - 1.0) ** 1.5 + rng.uniform(-0.01, 0.01))
            lines.append(f"{x * 500.0:.4f},{elevation:.3f}\r\n")
        out.writelines(lines)


def timed(command, env=None):
    """Wall and CPU seconds of one run of `command`, which must succeed."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    result = subprocess.run(command, env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if result.returncode != 0:
        sys.exit(f"{' '.join(command)} failed:\n{result.stderr.decode(errors='replace')}")
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall, cpu


def read_table(path):
    rows = []
    with open(path) as f:
        for line in f:
            if line.strip():
                stage, area = line.split(",")
                rows.append((float(stage), float(area)))
    return rows


def compare_tables(ours, theirs):
    """Row count, largest differences, and rows whose area differs: numpy adds the segments in
    another order, so an area that lies on a rounding boundary can come out 0.001 apart."""
    if len(ours) != len(theirs):
        return f"row counts differ: {len(ours)} and {len(theirs)}", False
    stage_diff = max((abs(a[0] - b[0]) for a, b in zip(ours, theirs)), default=0.0)
    area_diff = max((abs(a[1] - b[1]) for a, b in zip(ours, theirs)), default=0.0)
    differing = sum(1 for a, b in zip(ours, theirs) if a[1] != b[1])
    agree = stage_diff <= 1e-9 and area_diff <= 0.001 + 1e-9
    return (f"{len(ours)} rows; largest stage difference {stage_diff:g}, largest area difference "
            f"{area_diff:g} ({differing} rows differ)"), agree


def summary(times):
    return min(times), statistics.median(times)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--points", type=int, default=1_000_000)
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("--cli", default=os.path.join(ROOT, "build", "release", "cli",
                                                      "korvadel-cli"))
    args = parser.parse_args()

    python = python_with_pandas()
    missing = []
    if python is None:
        missing.append("numpy and pandas for Python 3 (apt-get install python3-numpy "
                       "python3-pandas)")
    if not os.access(args.cli, os.X_OK):
        missing.append(f"{args.cli} (cmake --preset release && cmake --build --preset release "
                       "--target korvadel-cli)")
    if missing:
        sys.exit("Missing: " + "; ".join(missing))

    with tempfile.TemporaryDirectory(prefix="korvadel-peers-") as work:
        section = os.path.join(work, "section.csv")
        write_section(section, args.points)
        size = os.path.getsize(section)
        ours_out = os.path.join(work, "korvadel.csv")
        theirs_out = os.path.join(work, "pandas.csv")
        bounds = ["--min", MINIMUM, "--max", MAXIMUM, "--increment", INCREMENT]
        ours = [args.cli, "rating", section, *bounds, "-o", ours_out]
        theirs = [python, os.path.join(HERE, "rating.py"), section, *bounds, "-o", theirs_out]
        # The decimal point, whatever the locale of the machine running the comparison.
        env = dict(os.environ, LC_ALL="C")

        print(f"{args.points:,} points ({size / 1e6:.1f} MB), stages {MINIMUM} to {MAXIMUM} by "
              f"{INCREMENT}; {os.cpu_count()} cores, load average "
              f"{os.getloadavg()[0]:.1f}; {args.repeat} runs each, alternating")
        runs = {"korvadel-cli": [], "pandas + numpy": [], "python3 -c 'import pandas'": []}
        for _ in range(args.repeat):
            runs["korvadel-cli"].append(timed(ours, env))
            runs["pandas + numpy"].append(timed(theirs, env))
            runs["python3 -c 'import pandas'"].append(
                timed([python, "-c", "import numpy, pandas"], env))

        print(f"{'':28} {'wall best':>10} {'median':>10} {'CPU best':>10} {'median':>10}")
        figures = {}
        for name, times in runs.items():
            wall = summary([t[0] for t in times])
            cpu = summary([t[1] for t in times])
            figures[name] = (wall, cpu)
            print(f"{name:28} {wall[0]:9.3f}s {wall[1]:9.3f}s {cpu[0]:9.3f}s {cpu[1]:9.3f}s")
        (ours_wall, ours_cpu) = figures["korvadel-cli"]
        (theirs_wall, theirs_cpu) = figures["pandas + numpy"]
        print(f"pandas + numpy / korvadel-cli: wall {theirs_wall[0] / ours_wall[0]:.0f}x best, "
              f"{theirs_wall[1] / ours_wall[1]:.0f}x median; CPU {theirs_cpu[0] / ours_cpu[0]:.0f}x "
              f"best, {theirs_cpu[1] / ours_cpu[1]:.0f}x median")

        message, agree = compare_tables(read_table(ours_out), read_table(theirs_out))
        print(("Tables agree: " if agree else "TABLES DISAGREE: ") + message)
        return 0 if agree else 1


if __name__ == "__main__":
    sys.exit(main())
