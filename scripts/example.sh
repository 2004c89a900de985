#!/usr/bin/env bash
# Sets up, builds, and runs the main job on the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
./build/curvicraft play examples/hello.play
# The main job: Smart Rounding of whole drawings through the plug-in.
./build/curvicraft round examples/logos/*.svg --out-dir build/rounded --convex 1 --concave 0.5 --compare build/rounded/compare.png
