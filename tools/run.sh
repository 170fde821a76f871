#!/usr/bin/env bash
# Installs what is missing, builds, writes a sample day into sample/ and starts Quorvane.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target quorvane quorvane-cli

mkdir -p sample
./build/bin/quorvane-cli sample sample
cp sample/VURSta2Det.list sample/VURRoad2Sta.list sample/VURStaPos.list build/bin/
echo "Sample day: $root/sample/sample.traffic (definition lists copied beside the program)"

cd sample
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting under xvfb-run (set DISPLAY to see the window)."
    exec xvfb-run -a "$root/build/bin/quorvane"
fi
exec "$root/build/bin/quorvane"
