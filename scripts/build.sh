#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
build_type=${BUILD_TYPE:-RelWithDebInfo}
shift || true

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "$@" >/dev/null
cmake --build "$build_dir"
