#!/usr/bin/env bash
# Sets up what is missing, builds the program alone (no tests, benchmarks or
# kovadle-cli: scripts/test.sh builds those), and starts Kovadle.
set -euo pipefail
cd "$(dirname "$0")/.."
"./scripts/setup.sh" --program
"./scripts/configure.sh"
cmake --build build -j "$(nproc)" --target kovadle
exec ./build/out/kovadle "$@"
