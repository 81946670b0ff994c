#!/usr/bin/env bash
# Builds the roll benchmark (and nothing else) in Release into build-bench/ and runs it;
# arguments go to the benchmark (--worst-rolls N, --typical-rolls N). The summary line is
# printed last.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_TYPE=Release BUILD_TARGETS=rollbox_bench scripts/build.sh build-bench -DROLLBOX_BENCH=ON \
    -DBUILD_TESTING=OFF
exec build-bench/bin/rollbox_bench "$@"
