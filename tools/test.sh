#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite through ctest: the regular
# build, then the same tests built with AddressSanitizer and UBSan, then a short fuzzing run of
# every file reader. QUORVANE_TEST_QUICK=1 runs the regular build only (a fast local round).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh

jobs=$(nproc)
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

echo "== build"
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
echo "== tests"
# The files the tests write are kept as seeds for the fuzzers.
rm -rf build/fuzz-seeds
(cd build && QUORVANE_CORPUS_DIR="$root/build/fuzz-seeds" \
    ctest --output-on-failure -j "$jobs" --timeout 600)

if [ "${QUORVANE_TEST_QUICK:-0}" != 1 ]; then
    echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S . -B build-asan "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON \
        -DQUORVANE_BENCH=OFF >/dev/null
    cmake --build build-asan -j "$jobs"
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --output-on-failure -j "$jobs" --timeout 900)

    echo "== short fuzzing run of every reader"
    bash tools/fuzz.sh "${QUORVANE_FUZZ_SECONDS:-15}"
fi
echo "== all tests passed"
