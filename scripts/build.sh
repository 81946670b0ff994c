#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as the first argument); further
# arguments go to CMake. BUILD_TARGETS names the targets to build (default: all of them),
# BUILD_TYPE the build type (default: RelWithDebInfo).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
build_type=${BUILD_TYPE:-RelWithDebInfo}
read -r -a targets <<<"${BUILD_TARGETS:-}"
shift || true

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "$@" >/dev/null
cmake --build "$build_dir" ${targets[@]+--target "${targets[@]}"}
