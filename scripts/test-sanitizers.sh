#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test
# there; any sanitizer report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --desktop
BUILD_TYPE=Debug scripts/build.sh build-sanitize -DROLLBOX_SANITIZE=ON

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-sanitize --output-on-failure -j2
