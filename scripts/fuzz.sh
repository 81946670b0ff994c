#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang with AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs each for the given number of seconds (default 60), starting from the committed seed
# corpora. Any crash, hang over one second, leak or sanitizer report fails the run.
#   scripts/fuzz.sh [seconds] [harness...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
harnesses=("$@")
((${#harnesses[@]})) || harnesses=(roll_request record_split preset_file log_totals)

scripts/install-deps.sh clang libclang-rt-14-dev

build_dir=build-fuzz
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DROLLBOX_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build_dir" --target "${harnesses[@]/#/fuzz_}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in "${harnesses[@]}"; do
    echo "== fuzz_$name for ${seconds}s"
    mkdir -p "$work/$name"
    "$build_dir/bin/fuzz_$name" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=4096 \
        -artifact_prefix="$work/" -print_final_stats=1 "$work/$name" "fuzz/corpus/$name" \
        >"$work/$name.log" 2>&1 || {
        tail -n 60 "$work/$name.log"
        echo "fuzz_$name FAILED"
        exit 1
    }
    grep -E '^#[0-9]+.*DONE' "$work/$name.log" | tail -n 1
done
