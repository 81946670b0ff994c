#!/usr/bin/env bash
# Builds Release into build-bench/ and runs the roll benchmark; arguments go to the benchmark
# (--worst-rolls N, --typical-rolls N). The summary line is printed last.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_TYPE=Release scripts/build.sh build-bench
exec build-bench/bin/rollbox_bench "$@"
