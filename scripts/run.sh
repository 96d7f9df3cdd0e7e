#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Kovadle.
set -euo pipefail
cd "$(dirname "$0")/.."
"./scripts/build.sh"
exec ./build/out/kovadle "$@"
