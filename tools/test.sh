#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite through ctest: a Release build
# with g++, the same with clang, then the tests built with AddressSanitizer and UBSan, then a
# short fuzzing run of every file reader. Warnings are errors in all of them.
# QUORVANE_TEST_QUICK=1 runs the g++ build only (a fast local round).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh

jobs=$(nproc)
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# configure_and_build DIR [cmake options...]
configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" "${generator[@]}" "${launcher[@]}" -DQUORVANE_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

echo "== build (g++, Release)"
configure_and_build build -DCMAKE_BUILD_TYPE=Release
echo "== tests"
# The files the tests write are kept as seeds for the fuzzers.
rm -rf build/fuzz-seeds
(cd build && QUORVANE_CORPUS_DIR="$root/build/fuzz-seeds" \
    ctest --output-on-failure -j "$jobs" --timeout 600)

if [ "${QUORVANE_TEST_QUICK:-0}" != 1 ]; then
    echo "== build and tests (clang, Release)"
    CXX=clang++ CC=clang configure_and_build build-clang -DCMAKE_BUILD_TYPE=Release \
        -DQUORVANE_BENCH=OFF
    (cd build-clang && ctest --output-on-failure -j "$jobs" --timeout 600)

    echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON \
        -DQUORVANE_BENCH=OFF
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --output-on-failure -j "$jobs" --timeout 900)

    echo "== short fuzzing run of every reader"
    bash tools/fuzz.sh "${QUORVANE_FUZZ_SECONDS:-15}"
fi
echo "== all tests passed"
