#!/usr/bin/env bash
# Installs what is missing, builds the two programs (nothing else) into build-run/, and starts
# Rollbox in run/, a working directory that holds the delivered data files. Presets saved there
# are kept across runs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
BUILD_TARGETS="rollbox minitumo" scripts/build.sh build-run -DBUILD_TESTING=OFF

mkdir -p run
for f in data/tumosetup.dat data/tumoinfo.dat; do
    if [ -e "$f" ] && [ ! -e "run/$(basename "$f")" ]; then
        cp "$f" run/
    fi
done
cd run
exec ../build-run/bin/rollbox
