#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test.
# With --sanitize: builds the engine and its test programs with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs those tests instead.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--sanitize" ]; then
  shift
  ENGINE_TESTS=(test_util test_probe test_planning test_jobs test_stress)
  "./scripts/setup.sh"
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVADLE_SANITIZE=ON \
    -DKOVADLE_BUILD_BENCH=OFF >/dev/null
  cmake --build build-asan -j "$(nproc)" --target "${ENGINE_TESTS[@]}"
  cd build-asan
  # Any report ends the program with a failure; leaks count too.
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/../tests/sanitizer/lsan.supp:print_suppressions=0"
  regex="^($(IFS='|'; echo "${ENGINE_TESTS[*]}"))\$"
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -R "$regex" "$@"
  exit
fi

"./scripts/build.sh"
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure "$@"
