#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a user gets it: built with cpack from this build, checked (name, control
# fields, contents, lintian), unpacked into a temporary root with dpkg-deb -x, its manual pages
# rendered, and its programs run from there: the companion on an example, the desktop program
# on the offscreen platform with a file named on its command line, the file type known by the
# database the package's XML makes.
# Usage: package_test.sh BUILD EXAMPLES VERSION ID
set -euo pipefail
build=$1 examples=$2 version=$3 id=$4
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli update-mime-database \
            gio lintian man; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (bash scripts/deps.sh)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb=$work/out/korvadel_${version}_amd64.deb
[ -f "$deb" ] || fail "no korvadel_${version}_amd64.deb; cpack wrote: $(ls "$work/out")"

# Control fields; the library dependencies come from dpkg-shlibdeps.
dpkg-deb -f "$deb" Package Version Architecture Section Maintainer Depends
[ "$(dpkg-deb -f "$deb" Section)" = science ] || fail "section"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
               libjpeg62-turbo libqcustomplot qt6-qpa-plugins; do
    [[ "$depends" == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

# Exactly the files an installation needs, nothing from the build or the tests.
expected="./usr/bin/korvadel
./usr/bin/korvadel-cli
./usr/share/applications/$id.desktop
./usr/share/doc/korvadel/changelog.gz
./usr/share/doc/korvadel/copyright
./usr/share/icons/hicolor/128x128/apps/$id.png
./usr/share/icons/hicolor/16x16/apps/$id.png
./usr/share/icons/hicolor/24x24/apps/$id.png
./usr/share/icons/hicolor/256x256/apps/$id.png
./usr/share/icons/hicolor/32x32/apps/$id.png
./usr/share/icons/hicolor/48x48/apps/$id.png
./usr/share/icons/hicolor/64x64/apps/$id.png
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/man/man1/korvadel-cli.1.gz
./usr/share/man/man1/korvadel.1.gz
./usr/share/metainfo/$id.metainfo.xml
./usr/share/mime/packages/$id.xml"
listed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
[ "$listed" = "$expected" ] || fail "contents differ:
$(diff <(echo "$expected") <(echo "$listed"))"

# Debian's checks of a package: no error (E:) and no warning (W:). Its notes (I:) are shown.
status=0
report=$(lintian --display-info --fail-on error,warning "$deb" 2>&1) || status=$?
[ -z "$report" ] || echo "$report"
[ "$status" -eq 0 ] && ! grep -q '^[EW]: ' <<<"$report" || fail "lintian (exit $status)"

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null
for size in 16 24 32 48 64 128 256; do
    picture=$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png
    [ "$(od -An -tu1 -j16 -N8 "$picture" | awk '{print $3 * 256 + $4, $7 * 256 + $8}')" = \
      "$size $size" ] || fail "$picture is not $size x $size"
done
# The manual pages render at 80 columns without a warning, every option --help lists (an
# indented line starting with "-") is an entry of its own there, and every entry that starts
# with "-" is an option with at most one value, not an option with its text run in.
for program in korvadel korvadel-cli; do
    page=$root/usr/share/man/man1/$program.1.gz
    zcat "$page" | grep -q "^\.TH ${program^^} \"1\"" || fail "manual page of $program"
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "manual page of $program: $warnings"
    "$root/usr/bin/$program" --help | sed -n 's/^ \{1,10\}\(-[^ ].*\)/\1/p' | sed 's/  .*//' |
        sort -u >"$work/help-options"
    zcat "$page" | awk 'tag {print} {tag = ($0 == ".TP")}' |
        sed 's/\\f[BIRP]//g; s/\\[\/,]//g; s/\\-/-/g' | sort -u >"$work/page-entries"
    [ -s "$work/help-options" ] || fail "no options found in $program --help"
    missing=$(comm -23 "$work/help-options" "$work/page-entries")
    [ -z "$missing" ] || fail "manual page of $program lacks entries for: $missing"
    runs_on=$(grep '^-' "$work/page-entries" |
              grep -Ev '^(-[[:alnum:]], )?--?[[:alnum:]-]+( [[:alnum:]|.]+)?$' || true)
    [ -z "$runs_on" ] || fail "manual page of $program: entries with their text run in: $runs_on"
done

# A cross-section file is known by its name and, renamed, by its marker line (also after a
# byte-order mark and blank lines); a plain text is not taken for one.
XDG_DATA_DIRS=$root/usr/share update-mime-database "$root/usr/share/mime"
mkdir "$work/files"
cp "$examples/mill-creek.kvd" "$work/files/mill-creek.kvd"
cp "$examples/mill-creek.kvd" "$work/files/mill creek survey"
{ printf '\xef\xbb\xbf\r\n\r\n  '; cat "$examples/mill-creek.kvd"; } >"$work/files/with-mark"
printf 'Station\tElevation\r\n0\t10\r\n' >"$work/files/plain-table"
type_of() {
    XDG_DATA_DIRS="$root/usr/share:/usr/share" XDG_DATA_HOME="$work/none" GIO_USE_VFS=local \
        gio info -a standard::content-type "$1" | awk '/standard::content-type/ {print $2}'
}
for file in mill-creek.kvd "mill creek survey" with-mark; do
    [ "$(type_of "$work/files/$file")" = application/x-korvadel-section ] ||
        fail "$file is taken for $(type_of "$work/files/$file")"
done
[ "$(type_of "$work/files/plain-table")" = text/plain ] || fail "a plain table is taken for a section"

# The companion, unpacked, works as the one built.
notice=$("$root/usr/bin/korvadel-cli" --version)
[ "${notice%%$'\n'*}" = "korvadel-cli $version" ] || fail "korvadel-cli --version: $notice"
[[ "$notice" == *"GNU GPL version 3 or later"* ]] || fail "korvadel-cli --version: $notice"
diff <("$root/usr/bin/korvadel-cli" rating "$examples/mill-creek.kvd") \
     <("$build/cli/korvadel-cli" rating "$examples/mill-creek.kvd") || fail "korvadel-cli rating"

# The desktop program answers --version without a display, and opens the file it is given.
notice=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/korvadel" --version)
[ "${notice%%$'\n'*}" = "korvadel $version" ] || fail "korvadel --version: $notice"
[[ "$notice" == *"GNU GPL version 3 or later"* ]] || fail "korvadel --version: $notice"
open_in_window() {
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" \
        timeout 60 "$root/usr/bin/korvadel" --quit-after-open "$1"
}
for file in mill-creek.kvd bear-river.csv clearwater_000t.000; do
    "$root/usr/bin/korvadel-cli" convert "$examples/$file" -o "$work/points.kvd" 2>/dev/null
    points=$(($(wc -l <"$work/points.kvd") - 7))
    [ "$(open_in_window "$examples/$file")" = "$points points" ] ||
        fail "korvadel $file: $(open_in_window "$examples/$file" 2>&1)"
done
# A file that is not there brings the Load command's box, and the program reports it.
if message=$(open_in_window "$work/missing.kvd" 2>&1); then fail "missing file opened: $message"; fi
[[ "$message" == *"Unable to access file!"* ]] || fail "missing file: $message"
echo "korvadel_${version}_amd64.deb: built, unpacked and run"
