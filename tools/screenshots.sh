#!/usr/bin/env bash
# Makes the README's pictures with the program itself, from a sample day: docs/main-window.png
# (the main window after opening the day, grabbed on the offscreen platform) and
# docs/colour-grid.png (quorvane-cli plot of a road's occupancy colour grid).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target quorvane-cli quorvane-screenshot

day=$(mktemp -d)
trap 'rm -rf "$day"' EXIT
./build/bin/quorvane-cli sample "$day" >/dev/null
./build/bin/quorvane-cli build "$day/sample.traffic" --log "$day/build.log" >/dev/null
mkdir -p docs
./build/bin/quorvane-screenshot "$day/sample.traffic" docs/main-window.png 2>/dev/null
./build/bin/quorvane-cli plot "$day/sample.station" -o docs/colour-grid.png --kind occgrid \
    --road "Route 1 N" --from 05:00 --to 11:00 --interval "1 min" --log "$day/plot.log"
echo "Written: docs/main-window.png docs/colour-grid.png"
