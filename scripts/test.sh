#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
"./scripts/build.sh"
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure "$@"
