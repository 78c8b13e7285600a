#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, configures, builds and runs the whole test suite.
# Usage: scripts/test.sh [preset]   (release by default; asan for the sanitizer build)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
bash scripts/deps.sh
# Compiler cache keyed on paths relative to the checkout, so any clone reuses earlier builds.
export CCACHE_BASEDIR="$PWD"
cmake --preset "$preset"
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
