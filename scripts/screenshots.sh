#!/usr/bin/env bash
# Pictures of the main window and the rating window for the documentation, made by the program
# itself under a virtual display: docs/screenshots/main-window.png and rating-window.png.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-debug}
section=${1:-examples/mill-creek.kvd}
[ -f "$section" ] || section=tests/data/willow-creek.kvd
if [ ! -x "build/$preset/app/korvadel" ]; then
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j2 --target korvadel
fi
mkdir -p docs/screenshots
command -v xvfb-run >/dev/null || { echo "screenshots: xvfb-run is missing (apt-get install xvfb)" >&2; exit 1; }
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    "build/$preset/app/korvadel" --screenshot docs/screenshots "$section"
echo "wrote docs/screenshots/main-window.png and docs/screenshots/rating-window.png from $section"
