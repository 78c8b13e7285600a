#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program on a real X server with a window manager: a private Xvfb display with
# openbox, the way a user's desktop maps, frames, exposes and activates windows asynchronously
# (the offscreen platform of the other UI tests does all of that at once).
# Exits 77 (a skipped test for ctest) when a tool it needs is missing.
missing=""
for tool in xvfb-run openbox xdotool xprop import; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
    echo "skipped: needs$missing on PATH (bash scripts/deps.sh installs them)"
    exit 77
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" sh -c '
    openbox >/dev/null 2>&1 &
    wm=$!
    # The window manager announces itself on the root window once it manages the screen.
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then
            echo "openbox did not start" >&2
            kill $wm 2>/dev/null
            exit 1
        fi
        sleep 0.1
    done
    QT_QPA_PLATFORM=xcb "$@"
    status=$?
    kill $wm 2>/dev/null
    exit $status
' run-on-desktop "$@"
