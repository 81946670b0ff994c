#!/usr/bin/env bash
# Cross-builds Rollbox for 64-bit Windows into build-windows/ (or the folder given as the first
# argument; further arguments go to CMake): Rollbox.exe, MiniTumo.exe and the test programs,
# then the portable zip and the installer (rollbox-<version>-win64.zip and .exe there),
# with Debian's MinGW-w64 against the Qt 6.4.2 built for it, whose archive lies in
# ../shared/toolchains beside the repository or beside the one it was cloned from (or where
# ROLLBOX_QT_MINGW_ARCHIVE says). The build's programs run under Wine:
# `ctest --test-dir build-windows` runs the tests there. With --qt-archive alone it only prints
# where that archive is, or fails saying it was not found.
set -euo pipefail
cd "$(dirname "$0")/.."

qt_archive() {
    if [[ -n ${ROLLBOX_QT_MINGW_ARCHIVE:-} ]]; then
        echo "$ROLLBOX_QT_MINGW_ARCHIVE"
        return
    fi
    local name=qt6.4.2-mingw-w64-x86_64.tar.xz origin
    origin=$(git config --get remote.origin.url 2>/dev/null || true)
    for repository in . "$origin"; do
        if [[ -n $repository && -f $repository/../shared/toolchains/$name ]]; then
            echo "$repository/../shared/toolchains/$name"
            return
        fi
    done
    echo "../shared/toolchains/$name"
}
archive=$(qt_archive)
if [[ ! -f $archive ]]; then
    echo "The Qt for Windows was not found at $archive; set ROLLBOX_QT_MINGW_ARCHIVE." >&2
    exit 1
fi
if [[ ${1:-} == --qt-archive ]]; then
    echo "$archive"
    exit 0
fi

# MinGW-w64 with POSIX threads, as the Qt was built with; Debian's host tools of the same Qt
# version (moc, rcc, uic); Wine to run what was built; NSIS for the installer; the desktop the
# Windows user path runs on.
scripts/install-deps.sh --desktop g++-mingw-w64-x86-64-posix wine wine64 nsis xz-utils zip

build_dir=${1:-build-windows}
shift || true

# The archive is unpacked once per build folder, and again when it changes.
qt_dir=$build_dir/qt6-mingw
stamp=$build_dir/qt6-mingw.unpacked
mkdir -p "$build_dir"
sum=$(sha256sum "$archive" | cut -d' ' -f1)
if [[ ! -f $stamp || $(cat "$stamp") != "$sum" ]]; then
    rm -rf "$qt_dir"
    tar -xJf "$archive" -C "$build_dir"
    echo "$sum" >"$stamp"
fi
qt_dir=$(cd "$qt_dir" && pwd)

# Optimised as on Linux, but without debugging information by default: the packages are
# stripped anyway, and leaving it out makes the build, which CI runs each time, a tenth quicker.
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
    -DCMAKE_TOOLCHAIN_FILE="$qt_dir/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" >/dev/null
cmake --build "$build_dir"
# CPack's ZIP and NSIS generators: both programs with the Qt and MinGW libraries they load.
(cd "$build_dir" && cpack)
