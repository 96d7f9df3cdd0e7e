#!/usr/bin/env bash
# Configures build/ once. A first configure from the run or package command leaves
# the tests and benchmarks out (their libraries may not be installed); the test
# command turns them on with its own options, and the program's build is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVADLE_BUILD_TESTS=OFF -DKOVADLE_BUILD_BENCH=OFF "$@" >/dev/null
elif [ $# -gt 0 ]; then
  cmake -S . -B build "$@" >/dev/null
fi
