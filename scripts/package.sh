#!/usr/bin/env bash
# Builds Rollbox for release into build-package/, makes the Debian package there,
# build-package/rollbox_<version>_<architecture>.deb, and checks it with lintian: any error or
# warning fails the script. Install it with
#   apt-get install ./build-package/rollbox_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-shlibdeps (dpkg-dev) and file work out the package's library dependencies.
scripts/install-deps.sh dpkg-dev file lintian

BUILD_TYPE=Release scripts/build.sh build-package -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF "$@"
cd build-package
rm -f ./*.deb
cpack -G DEB
lintian --fail-on error,warning ./*.deb
