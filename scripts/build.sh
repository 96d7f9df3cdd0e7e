#!/usr/bin/env bash
# Configures and builds everything, tests and benchmarks too, into build/ (the
# program and every executable land in build/out with bin/, translations/ and
# icon/ beside them).
set -euo pipefail
cd "$(dirname "$0")/.."
"./scripts/setup.sh"
"./scripts/configure.sh" -DKOVADLE_BUILD_TESTS=ON -DKOVADLE_BUILD_BENCH=ON
cmake --build build -j "$(nproc)"
