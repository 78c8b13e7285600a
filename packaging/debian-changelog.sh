#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The package's changelog in Debian's format, compressed, from CHANGELOG.md: every entry
# "## VERSION (YYYY-MM-DD)" with its items "- ..." (continued on lines indented by two spaces)
# becomes a stanza dated that day. The newest entry must be the version being built, so that a
# release is not packaged without saying what it brought.
# Usage: debian-changelog.sh CHANGELOG.md PACKAGE VERSION DATE MAINTAINER OUT.gz
set -euo pipefail
changelog=$1 package=$2 version=$3 date=$4 maintainer=$5 out=$6
fail() { echo "$changelog: $*" >&2; exit 1; }

newest=$(sed -n '/^## /{s/^## //p;q}' "$changelog")
[ "$newest" = "$version ($date)" ] ||
    fail "the newest entry is '${newest:-none}', not '$version ($date)' as in CMakeLists.txt"

text=$(awk -v package="$package" -v maintainer="$maintainer" '
    function close_entry() {
        if (open) {
            command = "date -u -R -d " day
            command | getline stamp
            close(command)
            printf "\n -- %s  %s\n\n", maintainer, stamp
        }
        open = 0
    }
    /^## / {
        close_entry()
        if (!match($0, /^## [^ ]+ \([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\)$/)) {
            print FILENAME ":" FNR ": not a heading \"## VERSION (YYYY-MM-DD)\"" > "/dev/stderr"
            exit 1
        }
        day = substr($3, 2, 10)
        printf "%s (%s) unstable; urgency=medium\n\n", package, $2
        open = 1
        next
    }
    !open || /^[ \t]*$/ { next }
    /^- / { gsub(/`/, ""); print "  * " substr($0, 3); next }
    /^  [^ ]/ { gsub(/`/, ""); print "    " substr($0, 3); next }
    {
        print FILENAME ":" FNR ": neither an item \"- \" nor its continuation" > "/dev/stderr"
        exit 1
    }
    END { close_entry() }
' "$changelog")
printf '%s\n' "$text" | gzip -9n >"$out"
