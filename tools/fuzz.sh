#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) and runs each for SECONDS (default 15).
# Seeds: the files the test suite wrote (QUORVANE_CORPUS_DIR of tools/test.sh: build/fuzz-seeds)
# plus what earlier runs found (build-fuzz/corpus). Any finding fails the run and leaves its
# input as build-fuzz/findings/<target>/crash-*. By hand, for long runs: tools/fuzz.sh 600
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-15}

bash tools/install-deps.sh
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
CXX=clang++ CC=clang cmake -S . -B build-fuzz "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVANE_FUZZ=ON -DQUORVANE_GUI=OFF -DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF \
    -DQUORVANE_WERROR=ON >/dev/null
targets=(definition_lists station_file archive_bytes archive_members)
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

seeds=build/fuzz-seeds
seed_kind() {
    case $1 in
        definition_lists) echo lists ;;
        station_file) echo station ;;
        *) echo archive ;;
    esac
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$target
    findings=build-fuzz/findings/$target
    mkdir -p "$corpus" "$findings"
    dirs=("$corpus")
    [ -d "$seeds/$(seed_kind "$target")" ] && dirs+=("$seeds/$(seed_kind "$target")")
    echo "== fuzz_$target for ${seconds}s"
    # -malloc_limit_mb: no reader may allocate far beyond what a 300 KB input can justify.
    if ! "build-fuzz/bin/fuzz_$target" -max_total_time="$seconds" -max_len=300000 -timeout=30 \
        -malloc_limit_mb=64 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/" "${dirs[@]}" >"build-fuzz/$target.log" 2>&1; then
        tail -n 60 "build-fuzz/$target.log"
        status=1
    else
        grep -E '^(Done|stat::number_of_executed_units)' "build-fuzz/$target.log" | head -n 2
    fi
done
exit $status
