#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (windows on the offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."

# The install test checks the desktop entries and the metainfo with Debian's validators and the
# Debian package with lintian (which brings dpkg-dev for the package's dependencies); the user
# paths run the programs on a desktop of their own; the odds window is also read under the dark
# Adwaita theme.
scripts/install-deps.sh --desktop desktop-file-utils appstream lintian adwaita-qt6
# The benchmark is built too, so that a change that breaks it fails here.
scripts/build.sh build-test -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DROLLBOX_BENCH=ON

export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-test --output-on-failure -j2
