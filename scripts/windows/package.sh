#!/usr/bin/env bash
# Zips the Windows program from build-win/out as a user unzips it: kovadle.exe with its
# DLLs, plugins, bin/, translations/ and icon/. The test and benchmark programs (and the
# DLLs and tools only they need) stay out. Needs scripts/windows/build.sh first.
set -euo pipefail
cd "$(dirname "$0")/../.."
OUT="$(pwd)/build-win/out"
[ -f "$OUT/kovadle.exe" ] || {
  echo "No $OUT/kovadle.exe: run scripts/windows/build.sh" >&2
  exit 1
}
version=$(sed -n 's/^project(Kovadle VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip_path="$(pwd)/build-win/Kovadle-$version-win64.zip"
rm -f "$zip_path"
(cd "$OUT" && zip -q -r -9 "$zip_path" . -x 'test_*' '*_helper.exe' 'bench_*' 'Qt5Test.dll' 'openssl.exe' '*.log')
echo "$zip_path ($(du -h "$zip_path" | cut -f1))"
