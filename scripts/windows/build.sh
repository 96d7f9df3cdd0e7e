#!/usr/bin/env bash
# Cross-builds Kovadle for 64-bit Windows (the program, its tests and benchmarks) into
# build-win/out, laid out as a Windows user unzips it: the .exe files with bin/
# (encoder.exe, mediainfo.exe), translations/, icon/, the Qt, glog, libcurl and MinGW
# runtime DLLs and Qt's plugins beside them. Needs scripts/windows/deps.sh first.
#
#   scripts/windows/build.sh               everything
#   scripts/windows/build.sh test_util     only these targets (and what they need)
#
# KOVADLE_WIN_CACHE  the dependency cache (default ~/.cache/kovadle-win)
# KOVADLE_WIN_JOBS   parallel compile jobs (default 2); compiles run under nice -n 10
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$(pwd)
CACHE=${KOVADLE_WIN_CACHE:-$HOME/.cache/kovadle-win}
JOBS=${KOVADLE_WIN_JOBS:-2}
BUILD="$ROOT/build-win"
OUT="$BUILD/out"
TRIPLE=x86_64-w64-mingw32

say() { printf '[build %s] %s\n' "$(date +%H:%M:%S)" "$*"; }
started=$SECONDS

for step in qt glog curl openssl httplib gtest benchmark rapidjson encoder; do
  if [ ! -f "$CACHE/stamps/$step.done" ]; then
    echo "The Windows dependencies are not built yet ($step missing in $CACHE): run scripts/windows/deps.sh" >&2
    exit 1
  fi
done

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi

say "configuring"
mkdir -p "$BUILD"
# lrelease and its CMake package come from the host's Qt: .qm files do not depend on the platform.
# Tests and benchmarks are named on: a build folder configured without them once keeps that.
cmake -S "$ROOT" -B "$BUILD" -G Ninja "${launcher[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/scripts/windows/mingw-toolchain.cmake" \
  -DKOVADLE_WIN_PREFIX="$CACHE/prefix;$CACHE/qt" \
  -DKOVADLE_WIN_TOOLS_DIR="$CACHE/bin" \
  -DQt5LinguistTools_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt5LinguistTools \
  -DKOVADLE_BUILD_TESTS=ON -DKOVADLE_BUILD_BENCH=ON \
  -DCMAKE_BUILD_TYPE=Release >"$BUILD/configure.log" 2>&1 || {
  tail -n 40 "$BUILD/configure.log"
  exit 1
}

say "compiling${1:+ $*}"
targets=()
for target in "$@"; do targets+=(--target "$target"); done
nice -n 10 cmake --build "$BUILD" -j "$JOBS" "${targets[@]}"

say "placing the DLLs and plugins beside the executables"
copy_new() { cp -u "$@"; }
for module in Core Gui Widgets Network Concurrent Test; do
  copy_new "$CACHE/qt/bin/Qt5$module.dll" "$OUT/"
done
for plugin in platforms/qwindows.dll platforms/qoffscreen.dll platforms/qminimal.dll \
  styles/qwindowsvistastyle.dll imageformats/qico.dll imageformats/qjpeg.dll imageformats/qgif.dll; do
  if [ -f "$CACHE/qt/plugins/$plugin" ]; then
    mkdir -p "$OUT/$(dirname "$plugin")"
    copy_new "$CACHE/qt/plugins/$plugin" "$OUT/$plugin"
  fi
done
copy_new "$CACHE/prefix/bin/libglog.dll" "$CACHE/prefix/bin/libcurl.dll" "$OUT/"
# Qt's own texts (dialog buttons) in Chinese: .qm files are the same on every platform,
# so Debian's qttranslations5-l10n serves.
qt_chinese=/usr/share/qt5/translations/qtbase_zh_CN.qm
if [ -f "$qt_chinese" ]; then
  copy_new "$qt_chinese" "$OUT/translations/"
else
  say "warning: $qt_chinese missing (qttranslations5-l10n): Qt's dialogs stay English in Chinese"
fi
# The tests' HTTPS server makes its certificate with openssl.exe, found beside them.
copy_new "$CACHE/prefix/bin/openssl.exe" "$OUT/"
gcc_dir=$(dirname "$("$TRIPLE-g++" -print-libgcc-file-name)")
for runtime in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  found=$(find "$gcc_dir" "/usr/$TRIPLE/lib" -name "$runtime" -print -quit)
  [ -n "$found" ] || {
    echo "MinGW runtime $runtime not found" >&2
    exit 1
  }
  copy_new "$found" "$OUT/"
done

# Every DLL an executable or DLL here imports must be beside it or part of Windows.
say "checking DLL imports"
wine_dlls=$(ls /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/ 2>/dev/null | tr 'A-Z' 'a-z')
present=$(cd "$OUT" && find . -iname '*.dll' -printf '%f\n' | tr 'A-Z' 'a-z')
missing=0
while IFS= read -r binary; do
  for dll in $("$TRIPLE-objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    if ! grep -qxF "$dll" <<<"$present" && ! grep -qxF "$dll" <<<"$wine_dlls" &&
      ! [[ $dll == api-ms-win-* ]]; then
      echo "  ${binary#"$OUT"/} needs $dll, which is not shipped" >&2
      missing=1
    fi
  done
done < <(find "$OUT" -iname '*.exe' -o -iname '*.dll' | grep -v '/bin/')
[ $missing -eq 0 ] || exit 1

say "done in $((SECONDS - started)) s: $OUT"
