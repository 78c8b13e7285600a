#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the README's two commands on a fresh Debian 12 machine made for the purpose: a minimal
# bookworm (debootstrap's minbase with git, sudo and ca-certificates, nothing else) in a new
# folder, where an ordinary user with sudo clones the given commit and runs
#   scripts/run.sh   without a display (it must install what is missing, build and say that
#                    there is no display), then under xvfb-run, where the window must come up
#                    and stay up until a timeout ends it;
#   scripts/test.sh  which must pass.
# A summary follows; the exit status is 0 only when every step did what the README promises.
#
# Usage: sudo scripts/fresh-machine-check.sh [branch or commit]        (main by default)
# Needs root (debootstrap, chroot, mounts) and the network (deb.debian.org). The machines go to
# folders under $FRESH_MACHINE_ROOT (/work/chroot by default), a new one for every run; a
# machine whose check passed is removed afterwards, one whose check failed is kept for a look.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
ref=${1:-main}
base=${FRESH_MACHINE_ROOT:-/work/chroot}
mirror=http://deb.debian.org/debian
settle=30 # seconds the program must stay up under the virtual display

[ "$(id -u)" -eq 0 ] || { echo "fresh-machine-check: run as root (sudo $0 $*)" >&2; exit 2; }
commit=$(git -C "$here" rev-parse --verify --quiet "$ref^{commit}") ||
    { echo "fresh-machine-check: '$ref' is not a branch or commit of $here" >&2; exit 2; }
if ! command -v debootstrap >/dev/null; then
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap
fi

name=bookworm-$(date +%Y%m%d-%H%M%S)-${commit:0:10}
root=$base/$name
logs=$base/$name-logs
[ ! -e "$root" ] || { echo "fresh-machine-check: $root exists already" >&2; exit 2; }
mkdir -p "$root" "$logs"

mounted=()
cleanup() {
    # Whatever a step left running inside the machine (a virtual display, a build) was started
    # by this script; it ends before the file systems are taken away.
    local pid pids=()
    for pid in /proc/[0-9]*; do
        [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ] && pids+=("${pid#/proc/}")
    done
    if [ ${#pids[@]} -gt 0 ]; then
        kill "${pids[@]}" 2>/dev/null || true
        sleep 2
        kill -9 "${pids[@]}" 2>/dev/null || true
    fi
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[$i]}" 2>/dev/null || umount -l "${mounted[$i]}" || true
    done
    mounted=()
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mount_in() { # type source target [options]; type "bind" binds the host's source
    mkdir -p "$root$3"
    if [ "$1" = bind ]; then
        mount --bind "$2" "$root$3"
    else
        mount -t "$1" ${4:+-o "$4"} "$2" "$root$3"
    fi
    mounted+=("$root$3")
}

# Runs a command line as the newcomer, in a login-like environment and no display.
as_newcomer() {
    chroot --userspec=newcomer:newcomer "$root" /usr/bin/env -i HOME=/home/newcomer \
        USER=newcomer LOGNAME=newcomer LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        /bin/bash -c "cd ~/korvadel && $1"
}

seconds() { echo $(($(date +%s) - $1)); }
summary=()
failed=0
note() { summary+=("$1"); echo "fresh-machine-check: $1"; }

echo "fresh-machine-check: $ref ($commit) in $root, logs in $logs"

start=$(date +%s)
debootstrap --variant=minbase --include=git,sudo,ca-certificates bookworm "$root" "$mirror" \
    >"$logs/debootstrap.log" 2>&1 ||
    { echo "fresh-machine-check: debootstrap failed, see $logs/debootstrap.log" >&2; exit 1; }
note "machine: minbase bookworm + git, sudo, ca-certificates ($(chroot "$root" dpkg-query -f '.\n' -W | wc -l) packages, $(seconds "$start") s)"

cp /etc/resolv.conf "$root/etc/resolv.conf"
echo "127.0.1.1 $(cat "$root/etc/hostname" 2>/dev/null || hostname)" >>"$root/etc/hosts"
mount_in proc proc /proc
mount_in sysfs sysfs /sys
mount_in bind /dev/pts /dev/pts
mount_in tmpfs tmpfs /dev/shm mode=1777
# What a booted machine has and a chroot lacks: the folder of the X server sockets.
install -d -m 1777 "$root/tmp/.X11-unix"

chroot "$root" useradd --create-home --shell /bin/bash newcomer
echo 'newcomer ALL=(ALL) NOPASSWD:ALL' >"$root/etc/sudoers.d/newcomer"
chmod 0440 "$root/etc/sudoers.d/newcomer"

# Only the commit and its history go into the machine, as a repository the newcomer clones.
git init --quiet --bare "$root/srv/korvadel.git"
git -C "$here" push --quiet "$root/srv/korvadel.git" "$commit:refs/heads/check"
chroot "$root" chown -R newcomer:newcomer /srv/korvadel.git
chroot --userspec=newcomer:newcomer "$root" /usr/bin/env -i HOME=/home/newcomer \
    PATH=/usr/bin:/bin git clone --quiet --branch check /srv/korvadel.git /home/newcomer/korvadel

# 1. The first command, on a machine without a display: it installs and builds, then says why
#    it cannot start the window.
start=$(date +%s)
status=0
as_newcomer 'scripts/run.sh' >"$logs/run-without-display.log" 2>&1 || status=$?
installed=$(sed -n 's/^Installing: //p' "$logs/run-without-display.log" | head -n 1 | wc -w)
if [ "$status" -eq 1 ] && grep -q 'no display found' "$logs/run-without-display.log"; then
    note "run.sh, no display: installed the $installed packages deps.sh names, built, said \"no display found\" (exit 1, as documented; $(seconds "$start") s)"
else
    note "run.sh, no display: FAILED with exit $status, see $logs/run-without-display.log"
    failed=1
fi

# 2. The first command under a virtual display: the window must come up and stay up until the
#    timeout ends it (exit 124). A picture of the screen is taken while it runs.
start=$(date +%s)
status=0
as_newcomer "xvfb-run -a -s '-screen 0 1280x1024x24 -dpi 96' sh -c '
    timeout $settle scripts/run.sh & sleep $((settle - 10)); import -window root /tmp/started.png; wait \$!'" \
    >"$logs/run-under-xvfb.log" 2>&1 || status=$?
cp "$root/tmp/started.png" "$logs/started.png" 2>/dev/null || true
if [ "$status" -eq 124 ]; then
    note "run.sh under xvfb-run: the program ran until the $settle-second timeout (exit 124); screen: $logs/started.png"
else
    note "run.sh under xvfb-run: FAILED with exit $status, see $logs/run-under-xvfb.log"
    failed=1
fi

# 3. The second command.
start=$(date +%s)
status=0
as_newcomer 'scripts/test.sh' >"$logs/test.log" 2>&1 || status=$?
result=$(grep -E '^[0-9]+% tests passed' "$logs/test.log" | tail -n 1)
if [ "$status" -eq 0 ]; then
    note "test.sh: ${result:-no ctest summary} (exit 0, $(seconds "$start") s)"
else
    note "test.sh: FAILED with exit $status: ${result:-no ctest summary}, see $logs/test.log"
    grep -E '^\s+[0-9]+ - .*\((Failed|Timeout|Subprocess|SEGFAULT|Not Run)' "$logs/test.log" |
        while read -r line; do note "  $line"; done
    failed=1
fi
# A skipped test passes in ctest's count; the tests' own output names them.
as_newcomer 'ctest --preset release -j2 -V' >"$logs/test-verbose.log" 2>&1 || true
skips=$(grep -oE '(\[  SKIPPED \] [A-Za-z0-9_]+\.[A-Za-z0-9_./]+|SKIP   : [A-Za-z0-9_:]+\(\))' \
    "$logs/test-verbose.log" | sed -E 's/^(\[  SKIPPED \]|SKIP   :) //' | sort -u | tr '\n' ' ')
note "skipped tests: ${skips:-none}"

cleanup
echo
echo "Fresh-machine check of $ref ($commit)"
printf '  %s\n' "${summary[@]}"
if [ "$failed" -eq 0 ]; then
    if [ -z "$(findmnt -rn -o TARGET | grep -F "$root/" || true)" ]; then
        rm -rf --one-file-system "$root"
        echo "  passed; the machine was removed (logs kept in $logs)"
    fi
    exit 0
fi
echo "  FAILED; the machine is kept in $root"
exit 1
