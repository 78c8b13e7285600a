#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures for the documentation, made with the program itself on a virtual display with a
# window manager (Xvfb and openbox), driven from the keyboard with xdotool:
#   docs/screenshots/main-window.png      a section with real elevations loaded
#   docs/screenshots/rating-window.png    its rating
#   docs/screenshots/edited-grid.png      a point typed in and saved with Ctrl+S at once
#   docs/screenshots/edit-menu.png        the Edit menu
#   docs/screenshots/progress-dialog.png  a rating of 9,000,000 gage heights half-way
#   docs/screenshots/hydraulic-properties.png  examples/pine-run.kvd's properties in three
#                                              subsections, with their n and the slope
#   docs/screenshots/survey-comparison.png     the same section against its resurvey
#   docs/screenshots/water-surface.png         the section's water surface during the animation
#   docs/screenshots/section-check.png         the check of the ADCP example's section
#   docs/screenshots/hecras-sections.png       examples/willow-fork.g01's cross sections to pick
#   docs/screenshots/surveyed-points.png       examples/willow-fork-survey.csv on its section line
#   docs/screenshots/index-velocity-window.png the example station's measurements and rating
#   docs/screenshots/index-velocity-report.png the first page of its printed report
# Usage: scripts/screenshots.sh [section.kvd]   (PRESET=debug|release, release by default)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-release}
section=$(realpath "${1:-examples/mill-creek.kvd}")
program=$(realpath -m "build/$preset/app/korvadel")
if [ ! -x "$program" ]; then
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j2 --target korvadel
fi
for tool in xvfb-run openbox xdotool xprop xwininfo import; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (bash scripts/deps.sh)" >&2; exit 1; }
done
mkdir -p docs/screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A river of 2,000 points with its bed between 100 and 215 m, rated up to 90,000 by 0.01:
# 9,000,001 gage heights, a run of several seconds.
awk 'BEGIN {
    printf "//Korvadel\r\n//Station\tRiver at the weir\r\n//GHMinimum\t0\r\n"
    printf "//GHMaximum\t90000\r\n//GHIncrement\t0.01\r\n//GHDatum\t0\r\n"
    printf "Station\tElevation\r\n"
    for (i = 0; i < 2000; ++i) {
        t = 2 * i / 1999 - 1
        printf "%.1f\t%.3f\r\n", i * 0.1, 100 + 115 * t * t + 3 * sin(i / 17)
    }
}' > "$work/long.kvd"

xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" bash -s "$program" "$section" "$work" \
    "$PWD/docs/screenshots" "$PWD/examples" <<'SESSION'
set -eu
program=$1 section=$2 work=$3 out=$4 examples=$5
openbox >/dev/null 2>&1 &
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do sleep 0.1; done
"$program" >/dev/null 2>&1 &
sleep 2
main=$(xdotool getactivewindow)
window() { import -frame -window "$(xdotool getactivewindow)" "$out/$1"; }
# The main window with its frame and whatever stands over it (menus, dialogs).
around() {
    read -r x y width height < <(xwininfo -id "$main" | awk '/Absolute upper-left X/ {x = $4}
        /Absolute upper-left Y/ {y = $4} /Width:/ {w = $2} /Height:/ {h = $2}
        END {print x, y, w, h}')
    read -r left right top bottom < <(xprop -id "$main" _NET_FRAME_EXTENTS |
        sed 's/.*= //; s/,//g')
    import -window root -crop \
        "$((width + left + right))x$((height + top + bottom))+$((x - left))+$((y - top))" \
        "$out/$1"
}
open_file() { xdotool key ctrl+l; sleep 1; xdotool type --delay 5 "$1"; xdotool key Return; sleep 1.5; }

open_file "$section"
window main-window.png
xdotool key alt+c; sleep 2
window rating-window.png
xdotool windowactivate --sync "$main"; sleep 0.5
# A point typed in and saved at once, without leaving the cell.
xdotool key Insert; xdotool type --delay 30 "20.5"; xdotool key Tab; xdotool type --delay 30 "98.05"
xdotool key ctrl+s; sleep 1; xdotool type --delay 5 "$work/edited"; xdotool key Return; sleep 1
# The save leaves the cursor on the last row; up to the point just typed.
xdotool key --delay 20 --repeat 16 Up; sleep 0.5
window edited-grid.png
xdotool key alt+e; sleep 0.7
around edit-menu.png
xdotool key Escape; sleep 0.5
# Pine Run's hydraulic properties from the rating window, then the section against its resurvey.
open_file "$examples/pine-run.kvd"
xdotool key alt+c; sleep 2
xdotool key alt+o; sleep 0.5; xdotool key p; sleep 1.5
xdotool type --delay 20 "0.05;0.035;0.05"; xdotool key Tab; xdotool type --delay 20 "4;12"
xdotool key Tab; xdotool type --delay 20 "0.0005"; sleep 1
window hydraulic-properties.png
xdotool key alt+c; sleep 0.5
xdotool windowactivate --sync "$main"; sleep 0.5
xdotool key alt+t; sleep 0.5; xdotool key Down Return; sleep 1.5
xdotool type --delay 5 "$examples/pine-run-resurvey.csv"; xdotool key Return; sleep 2
window survey-comparison.png
xdotool key alt+c; sleep 0.5
# The example index-velocity station: its measurements imported, in metres, and its report.
xdotool windowactivate --sync "$main"; sleep 0.5
open_file "$examples/harlan-canal.kvd"
xdotool key alt+t; sleep 0.5; xdotool key i; sleep 1.5
xdotool key ctrl+o; sleep 1
xdotool type --delay 5 "$examples/harlan-canal-measurements.csv"; xdotool key Return; sleep 2
xdotool key alt+u; sleep 0.3; xdotool key Down; sleep 1
window index-velocity-window.png
xdotool key ctrl+p; sleep 3
window index-velocity-report.png
xdotool key Escape; sleep 1
xdotool key alt+F4; sleep 0.5
# The water surface on the way down through the section.
xdotool windowactivate --sync "$main"; sleep 0.5
open_file "$section"
xdotool key alt+a; sleep 1.3
window water-surface.png
xdotool key space; sleep 0.5
# The ADCP example's check: its ends stand below the maximum and it repeats stations.
xdotool key alt+f; sleep 0.3; xdotool key i; sleep 0.3; xdotool key w; sleep 1
xdotool key alt+c; sleep 1
xdotool type --delay 5 "$examples/clearwater_000t.000"; xdotool key Return; sleep 1.5
xdotool key alt+t; sleep 0.5; xdotool key Return; sleep 1.5
xdotool key Down; sleep 0.5
window section-check.png
xdotool key alt+c; sleep 0.5
xdotool windowactivate --sync "$main"; sleep 0.5
# A HEC-RAS geometry file's cross sections to pick one from, then surveyed points on their line
# with the right pin moved to RP, which leaves the foresight point beyond it.
xdotool key alt+f; sleep 0.3; xdotool key i; sleep 0.3; xdotool key g; sleep 1
xdotool type --delay 5 "$examples/willow-fork.g01"; xdotool key Return; sleep 1.5
window hecras-sections.png
xdotool key Return; sleep 1
xdotool key alt+f; sleep 0.3; xdotool key i; sleep 0.3; xdotool key s; sleep 1
xdotool type --delay 5 "$examples/willow-fork-survey.csv"; xdotool key Return; sleep 1.5
xdotool key alt+r; sleep 0.3; xdotool key Up; sleep 1
window surveyed-points.png
xdotool key Escape; sleep 0.5
xdotool windowactivate --sync "$main"; sleep 0.5
# The import is unsaved work: the load asks first, and is let go on without saving.
xdotool key ctrl+l; sleep 1; xdotool key alt+d; sleep 1
xdotool type --delay 5 "$work/long.kvd"; xdotool key Return; sleep 1.5
xdotool key alt+c; sleep 1
xdotool key Return; sleep 3
around progress-dialog.png
# Escape in the main window stops the run; the program then ends without a question (the
# section was loaded and is unchanged).
xdotool key Escape; sleep 1
SESSION
echo "wrote docs/screenshots/*.png from $section"
