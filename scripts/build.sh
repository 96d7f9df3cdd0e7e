#!/usr/bin/env bash
# Configures and builds everything into build/ (the program and every executable
# land in build/out with bin/, translations/ and icon/ beside them).
set -euo pipefail
cd "$(dirname "$0")/.."
"./scripts/setup.sh"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
