#!/usr/bin/env bash
# Sets up, builds the native tree and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset native
cmake --build --preset native
ctest --preset native -j2
