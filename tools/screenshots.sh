#!/usr/bin/env bash
# Makes the README's pictures with the program itself, from a sample day: docs/main-window.png
# (the main window on its road tab after the build, from quorvane-shots, which grabs every
# window on the offscreen platform) and docs/colour-grid.png (quorvane-cli plot of a road's
# occupancy colour grid), docs/speed-grid.png and docs/speed-fixed-length.png (the speed colour
# grid of the same road with each detector's g-factor and with one vehicle length).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target quorvane-cli quorvane-shots

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
./build/bin/quorvane-shots "$shots" >/dev/null
mkdir -p docs
cp "$shots/tab2.png" docs/main-window.png
cp "$shots/frmSpeedDifferenceGrid.png" docs/difference-grid.png
cp "$shots/frmReliability.png" docs/reliability.png
./build/bin/quorvane-cli plot "$shots/sample.traffic" --lists "$shots" -o docs/colour-grid.png \
    --kind occgrid --road "Route 1 N" --from 05:00 --to 11:00 --interval "1 min" \
    --log "$shots/plot.log"
for estimate in calibrated fixed; do
    picture=docs/speed-grid.png
    length=()
    if [ $estimate = fixed ]; then
        picture=docs/speed-fixed-length.png
        length=(--vehicle-length 6.7)
    fi
    ./build/bin/quorvane-cli plot "$shots/sample.traffic" --lists "$shots" -o "$picture" \
        --kind speedgrid --road "Route 1 N" --from 05:00 --to 21:00 --interval "5 min" \
        "${length[@]}" --log "$shots/plot.log"
done
./build/bin/quorvane-cli plot "$shots/sample.traffic" --lists "$shots" -o docs/travel-time.png \
    --kind traveltime --road "Route 1 N" --interval "5 min" --log "$shots/plot.log"
./build/bin/quorvane-cli plot "$shots/sample.traffic" --lists "$shots" -o docs/bottleneck-grid.png \
    --kind speedgrid --road "Route 1 N" --from 15:00 --to 21:00 --interval "5 min" \
    --size 720x400 --log "$shots/plot.log"
echo "Written: docs/main-window.png docs/colour-grid.png docs/speed-grid.png" \
    "docs/speed-fixed-length.png docs/travel-time.png docs/bottleneck-grid.png" \
    "docs/difference-grid.png docs/reliability.png"
