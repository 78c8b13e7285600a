#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
export CCACHE_BASEDIR="$PWD"
cmake --preset release
cmake --build --preset release -j"$(nproc)" --target korvadel
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "korvadel: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    echo "Start it from a desktop session, or under a virtual one: xvfb-run build/release/app/korvadel" >&2
    exit 1
fi
exec build/release/app/korvadel "$@"
