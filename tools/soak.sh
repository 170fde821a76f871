#!/usr/bin/env bash
# Long soak runs of the whole window under AddressSanitizer and UBSan: each seed runs for
# SECONDS (default 600). Usage: tools/soak.sh [SECONDS] [SEED...]; the seeds default to four
# drawn from the clock, printed so that a failure can be replayed with
#   QUORVANE_SOAK_SEED=<seed> QUORVANE_SOAK_TRACE=1 build-asan/bin/ui_soak_test
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-600}
shift || true
seeds=("$@")
if [ ${#seeds[@]} -eq 0 ]; then
    now=$(date +%s)
    seeds=("$now" "$((now + 1))" "$((now + 2))" "$((now + 3))")
fi

bash tools/install-deps.sh
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S . -B build-asan "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON \
    -DQUORVANE_BENCH=OFF -DQUORVANE_WERROR=ON >/dev/null
cmake --build build-asan -j "$(nproc)" --target ui_soak_test

status=0
for seed in "${seeds[@]}"; do
    echo "== seed $seed for ${seconds} s"
    if ! QT_QPA_PLATFORM=offscreen QUORVANE_SOAK_SEED=$seed QUORVANE_SOAK_SECONDS=$seconds \
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        build-asan/bin/ui_soak_test; then
        echo "== seed $seed FAILED"
        status=1
    fi
done
exit $status
