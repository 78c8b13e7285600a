#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the program and the tests need, when any is missing.
set -euo pipefail
# Recommended packages are not installed, so everything a test or the program needs at run time
# is named here: the fonts the metafile reader (wmf2svg) draws with, the locale sources a test
# builds a decimal-comma locale from, and the virtual display with its authority tool. The
# icon's pictures and the manual pages are made at build time (rsvg-convert, help2man); the
# package test builds the Debian package (dpkg-shlibdeps, which CPack runs only where the file
# utility is installed), checks it with lintian, renders its manual pages with man, and checks
# the desktop entry, the metadata and the file type with the desktop's own tools.
packages=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev ccache pkg-config
          qt6-base-dev libqcustomplot-dev libjpeg62-turbo-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          libeigen3-dev libboost-math-dev nlohmann-json3-dev
          poppler-utils libwmf-bin fonts-urw-base35 fonts-liberation locales
          xvfb xauth imagemagick qt6-qpa-plugins openbox xdotool x11-utils
          librsvg2-bin help2man dpkg-dev desktop-file-utils appstream shared-mime-info
          libglib2.0-bin file lintian man-db)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q
    # sudo drops the environment, so the setting goes in through env.
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
