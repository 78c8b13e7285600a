#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop entry, the software-centre metadata and the file type, as built, against the
# tools that read them.
# Usage: validate.sh SHARE   (the build's share/ folder)
set -euo pipefail
share=$1
for tool in desktop-file-validate appstreamcli update-mime-database; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (bash scripts/deps.sh)"; exit 77; }
done
# Both validators print notes even when they pass; a note is a failure here too.
entry=$(echo "$share"/applications/*.desktop)
out=$(desktop-file-validate "$entry" 2>&1) || { echo "$out"; exit 1; }
[ -z "$out" ] || { echo "desktop-file-validate: $out"; exit 1; }
# Pedantic notes are shown, not failed on (the id's capital is the desktop entry's convention).
appstreamcli validate --no-net --pedantic --explain "$share"/metainfo/*.metainfo.xml
# The file type compiles into a database without a complaint.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/mime/packages"
cp "$share"/mime/packages/*.xml "$work/mime/packages/"
out=$(XDG_DATA_DIRS=$work XDG_DATA_HOME=$work update-mime-database "$work/mime" 2>&1)
[ -z "$out" ] || { echo "update-mime-database: $out"; exit 1; }
grep -q '^application/x-korvadel-section' "$work/mime/types"
echo "desktop entry, metadata and file type valid"
