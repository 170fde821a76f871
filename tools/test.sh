#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite through ctest:
# the regular build, then the same tests built with AddressSanitizer and UBSan.
# QUORVANE_TEST_QUICK=1 skips the sanitizer build (for a fast local round).
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
(cd build && ctest --output-on-failure -j "$jobs" --timeout 600)

if [ "${QUORVANE_TEST_QUICK:-0}" != 1 ]; then
    echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S . -B build-asan "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON \
        -DQUORVANE_BENCH=OFF >/dev/null
    cmake --build build-asan -j "$jobs"
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --output-on-failure -j "$jobs" --timeout 900)
fi
echo "== all tests passed"
