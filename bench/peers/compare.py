#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times korvadel-cli against the pandas + numpy scripts beside this file on generated input, and
checks that the two tables agree.

    python3 bench/peers/compare.py [rating] [--points 1000000] [--repeat 5] [--cli PATH]
    python3 bench/peers/compare.py discharge [--rows 5256000] [--daily] [--repeat 3]

rating: `korvadel-cli rating` and rating.py on one comma-delimited section: reading the file,
sorting the points, 1,000 stages of wetted area and writing the table. discharge:
`korvadel-cli discharge` and discharge.py on a ten-year record at one-minute steps of a small
canal section: reading the record, the area, V and Q of every row and writing them (or the
daily means). Each run is a whole process, started the way a user would start it. Wall time and
CPU time (user + system, all threads) are measured per run; the best and the median of the
repetitions are shown, and the ratios script / korvadel-cli. Needs Debian's python3-numpy and python3-pandas for the
script (any Python 3 runs this file) and a release build of korvadel-cli
(`cmake --preset release && cmake --build --preset release --target korvadel-cli`).
"""

import argparse
import math
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


def time_both(names, commands, python, repeat, env):
    """Runs each command `repeat` times, alternating, with a bare pandas import beside them;
    prints the table and the ratios and returns nothing."""
    runs = {name: [] for name in names}
    runs["python3 -c 'import pandas'"] = []
    for _ in range(repeat):
        for name, command in zip(names, commands):
            runs[name].append(timed(command, env))
        runs["python3 -c 'import pandas'"].append(
            timed([python, "-c", "import numpy, pandas"], env))
    print(f"{'':28} {'wall best':>10} {'median':>10} {'CPU best':>10} {'median':>10}")
    figures = {}
    for name, times in runs.items():
        wall = summary([t[0] for t in times])
        cpu = summary([t[1] for t in times])
        figures[name] = (wall, cpu)
        print(f"{name:28} {wall[0]:9.3f}s {wall[1]:9.3f}s {cpu[0]:9.3f}s {cpu[1]:9.3f}s")
    (ours_wall, ours_cpu) = figures[names[0]]
    (theirs_wall, theirs_cpu) = figures[names[1]]
    print(f"pandas + numpy / korvadel-cli: wall {theirs_wall[0] / ours_wall[0]:.1f}x best, "
          f"{theirs_wall[1] / ours_wall[1]:.1f}x median; CPU {theirs_cpu[0] / ours_cpu[0]:.1f}x "
          f"best, {theirs_cpu[1] / ours_cpu[1]:.1f}x median")


def rating_job(args, python, env, work):
    section = os.path.join(work, "section.csv")
    write_section(section, args.points)
    size = os.path.getsize(section)
    ours_out = os.path.join(work, "korvadel.csv")
    theirs_out = os.path.join(work, "pandas.csv")
    bounds = ["--min", MINIMUM, "--max", MAXIMUM, "--increment", INCREMENT]
    ours = [args.cli, "rating", section, *bounds, "-o", ours_out]
    theirs = [python, os.path.join(HERE, "rating.py"), section, *bounds, "-o", theirs_out]
    print(f"{args.points:,} points ({size / 1e6:.1f} MB), stages {MINIMUM} to {MAXIMUM} by "
          f"{INCREMENT}; {os.cpu_count()} cores, load average "
          f"{os.getloadavg()[0]:.1f}; {args.repeat} runs each, alternating")
    time_both(["korvadel-cli", "pandas + numpy"], [ours, theirs], python, args.repeat, env)
    message, agree = compare_tables(read_table(ours_out), read_table(theirs_out))
    print(("Tables agree: " if agree else "TABLES DISAGREE: ") + message)
    return 0 if agree else 1


CANAL = [(0, 101.2), (2, 99.1), (5, 96.6), (8, 95.8), (14, 95.6), (20, 95.7), (24, 96.5),
         (27, 99.0), (29, 101.3)]


def write_record(path, rows):
    """A gated canal's stage and index velocity, one row a minute from 2015-01-01."""
    import datetime
    start = datetime.datetime(2015, 1, 1)
    with open(path, "w", newline="") as out:
        out.write("time,gage_height,index_velocity\r\n")
        lines = []
        for minute in range(rows):
            hours = minute / 60.0
            gate = 0.5 + 0.5 * math.tanh(3.0 * math.sin(2 * math.pi * (hours - 7) / 24))
            stage = 2.6 + 0.9 * (1 - gate) + 0.15 * math.sin(2 * math.pi * hours / 61)
            index = 0.25 + 0.75 * gate + 0.01 * math.sin(hours * 7.3)
            time = (start + datetime.timedelta(minutes=minute)).strftime("%Y-%m-%dT%H:%M")
            lines.append(f"{time},{stage:.3f},{index:.3f}\r\n")
            if len(lines) == 100_000:
                out.writelines(lines)
                lines = []
        out.writelines(lines)


def read_columns(path):
    """Every line of a comma-delimited output after its heading, split."""
    with open(path) as f:
        next(f)
        return [line.rstrip("\r\n").split(",") for line in f if line.strip()]


def compare_discharge(ours, theirs):
    """Same rows; the numbers (empty cells alike) within 1e-9 relative: pandas writes the
    inputs back through floats, and its area is added up in another order."""
    if len(ours) != len(theirs):
        return f"row counts differ: {len(ours)} and {len(theirs)}", False
    worst = 0.0
    for a, b in zip(ours, theirs):
        if a[0] != b[0]:
            return f"times or dates differ: {a[0]} / {b[0]}", False
        for x, y in zip(a[1:], b[1:]):
            if (x == "") != (y == ""):
                return f"a cell is empty in one table only: {a} / {b}", False
            if x:
                worst = max(worst, abs(float(x) - float(y)) / max(abs(float(y)), 1e-300))
    return f"{len(ours):,} rows; largest relative difference {worst:.2g}", worst <= 1e-9


def discharge_job(args, python, env, work):
    section = os.path.join(work, "canal.kvd")
    with open(section, "w", newline="") as out:
        out.write("//Korvadel\r\n//Station\tcanal\r\n//GHMinimum\t1\r\n//GHMaximum\t5\r\n"
                  "//GHIncrement\t0.05\r\n//GHDatum\t95.00\r\nStation\tElevation\r\n")
        out.writelines(f"{s}\t{e}\r\n" for s, e in CANAL)
    record = os.path.join(work, "record.csv")
    write_record(record, args.rows)
    size = os.path.getsize(record)
    ours_out = os.path.join(work, "korvadel.csv")
    theirs_out = os.path.join(work, "pandas.csv")
    daily = ["--daily"] if args.daily else []
    coefficients = ["--coefficients", "0.04,0.87"]
    ours = [args.cli, "discharge", section, record, *coefficients, "--model", "simple", *daily,
            "-o", ours_out]
    theirs = [python, os.path.join(HERE, "discharge.py"), section, record, *coefficients,
              *daily, "-o", theirs_out]
    print(f"{args.rows:,} record rows ({size / 1e6:.1f} MB){', daily means' if daily else ''}; "
          f"{os.cpu_count()} cores, load average {os.getloadavg()[0]:.1f}; {args.repeat} runs "
          "each, alternating")
    time_both(["korvadel-cli", "pandas + numpy"], [ours, theirs], python, args.repeat, env)
    message, agree = compare_discharge(read_columns(ours_out), read_columns(theirs_out))
    print(("Tables agree: " if agree else "TABLES DISAGREE: ") + message)
    return 0 if agree else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("job", nargs="?", choices=["rating", "discharge"], default="rating")
    parser.add_argument("--points", type=int, default=1_000_000)
    parser.add_argument("--rows", type=int, default=10 * 365 * 24 * 60)
    parser.add_argument("--daily", action="store_true")
    parser.add_argument("--repeat", type=int, default=None)
    parser.add_argument("--cli", default=os.path.join(ROOT, "build", "release", "cli",
                                                      "korvadel-cli"))
    args = parser.parse_args()
    if args.repeat is None:
        args.repeat = 5 if args.job == "rating" else 3

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

    # The decimal point, whatever the locale of the machine running the comparison.
    env = dict(os.environ, LC_ALL="C")
    with tempfile.TemporaryDirectory(prefix="korvadel-peers-") as work:
        if args.job == "rating":
            return rating_job(args, python, env, work)
        return discharge_job(args, python, env, work)


if __name__ == "__main__":
    sys.exit(main())
