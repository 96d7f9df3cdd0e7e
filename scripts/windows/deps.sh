#!/usr/bin/env bash
# Builds Kovadle's Windows dependencies from Debian's source packages (and takes the
# encoder and the probe from the npm packages that ship them) into a cache outside the
# checkout. Each step runs once; later calls reuse what the cache holds.
#
#   scripts/windows/deps.sh            every step that is not done yet
#   scripts/windows/deps.sh glog curl  only these steps
#
# KOVADLE_WIN_CACHE  the cache folder (default ~/.cache/kovadle-win)
# KOVADLE_WIN_JOBS   parallel compile jobs (default 2)
# KOVADLE_WIN_NICE   niceness of the compiles (default 19: other builds on the machine go first)
set -euo pipefail

CACHE=${KOVADLE_WIN_CACHE:-$HOME/.cache/kovadle-win}
JOBS=${KOVADLE_WIN_JOBS:-2}
NICE=${KOVADLE_WIN_NICE:-19}
TRIPLE=x86_64-w64-mingw32
SCRIPT_DIR=$(cd "$(dirname "$0")" && pwd)
TOOLCHAIN_FILE="$SCRIPT_DIR/mingw-toolchain.cmake"
ALL_STEPS=(sources rapidjson encoder gtest benchmark glog curl openssl httplib qt)

mkdir -p "$CACHE"/{src,build,logs,stamps,prefix,bin}
CACHE=$(cd "$CACHE" && pwd)
PREFIX="$CACHE/prefix"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

say() { printf '[deps %s] %s\n' "$(date +%H:%M:%S)" "$*"; }
duration() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

# Runs a command with its output in a log, printing a progress line every minute
# (the log's last line) so a long compile shows it is moving.
run_logged() {
  local log=$1
  shift
  echo "+ $*" >>"$log"
  "$@" >>"$log" 2>&1 &
  local pid=$! started=$SECONDS
  while kill -0 "$pid" 2>/dev/null; do
    for _ in $(seq 60); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 1
    done
    if kill -0 "$pid" 2>/dev/null; then
      say "  ... $(duration $((SECONDS - started))): $(tail -n 1 "$log" | cut -c1-110)"
    fi
  done
  if ! wait "$pid"; then
    say "FAILED: $* (last lines of $log follow)"
    tail -n 30 "$log"
    return 1
  fi
}

apt_install() {
  local missing=()
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "  installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    >>"$CACHE/logs/apt.log"
}

# A deb-src twin of the Debian entries, so `apt-get source` works.
enable_deb_src() {
  local list=/etc/apt/sources.list.d/kovadle-deb-src.sources
  [ -f "$list" ] && return 0
  local main=/etc/apt/sources.list.d/debian.sources
  if [ -f "$main" ]; then
    sed -e 's/^Types:.*/Types: deb-src/' "$main" | $SUDO tee "$list" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    list=/etc/apt/sources.list.d/kovadle-deb-src.list
    [ -f "$list" ] && return 0
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $SUDO tee "$list" >/dev/null
  else
    echo "No Debian apt entry found to make a deb-src twin of" >&2
    return 1
  fi
  $SUDO apt-get update -qq
}

# Unpacks Debian's source package $1 into $CACHE/src/$1 (patches applied) once.
debian_source() {
  local package=$1 dir="$CACHE/src/$1"
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir" "$CACHE/src/$package.download"
    mkdir -p "$CACHE/src/$package.download"
    # The newest version first; a mirror that lacks part of it (a security update
    # published before its files) falls back to the other versions apt knows.
    local version fetched=""
    for version in "" $(apt-cache showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' | sort -urV); do
      rm -f "$CACHE/src/$package.download"/*
      if (cd "$CACHE/src/$package.download" &&
        apt-get source --download-only "$package${version:+=$version}" >>"$CACHE/logs/sources.log" 2>&1); then
        fetched=yes
        break
      fi
    done
    (cd "$CACHE/src/$package.download" && [ -n "$fetched" ] &&
      dpkg-source --no-check -x ./*.dsc "$dir" >>"$CACHE/logs/sources.log" 2>&1) || {
      echo "could not fetch or unpack Debian's source package $package (see $CACHE/logs/sources.log)" >&2
      return 1
    }
    # dpkg-source leaves a copy of the upstream tarball beside the target folder.
    rm -rf "$CACHE/src/$package.download" "$CACHE/src/${package}_"*
    touch "$dir/.unpacked"
  fi
  echo "$dir"
}

# The upstream version of an unpacked Debian source package (1.7.1 of 1.7.1-1).
upstream_version() {
  dpkg-parsechangelog -l "$1/debian/changelog" -S Version | sed -e 's/^[0-9]*://' -e 's/-[^-]*$//'
}

# Configures, builds and installs a CMake project for Windows into $PREFIX.
cmake_windows() {
  local name=$1 source=$2
  shift 2
  local build="$CACHE/build/$name" log="$CACHE/logs/$name.log"
  rm -rf "$build"
  : >"$log"
  run_logged "$log" cmake -S "$source" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN_FILE" -DKOVADLE_WIN_PREFIX="$PREFIX" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" "$@"
  run_logged "$log" nice -n "$NICE" cmake --build "$build" -j "$JOBS"
  run_logged "$log" cmake --install "$build"
  rm -rf "$build"
}

step_toolchain() {
  apt_install g++-mingw-w64-x86-64-posix wine64 cmake ninja-build make perl python3 \
    dpkg-dev xz-utils ca-certificates qttools5-dev-tools qttools5-dev qttranslations5-l10n zip unzip \
    xvfb xdotool imagemagick nsis fonts-dejavu-core
  # npm may come with another nodejs build that conflicts with Debian's npm package.
  command -v npm >/dev/null || apt_install npm
  # With both thread models present, the compilers must be the posix ones.
  for tool in gcc g++; do
    if update-alternatives --list "$TRIPLE-$tool" >/dev/null 2>&1; then
      $SUDO update-alternatives --set "$TRIPLE-$tool" "/usr/bin/$TRIPLE-$tool-posix" >/dev/null
    fi
  done
  # Read whole first: grep -q stops early, and under pipefail the compiler's broken
  # pipe would fail the check at random.
  local about
  about=$("$TRIPLE-g++" -v 2>&1)
  grep -q 'Thread model: posix' <<<"$about" || {
    echo "$TRIPLE-g++ is not the posix-thread compiler" >&2
    return 1
  }
}

step_sources() {
  enable_deb_src
  for package in qtbase-opensource-src google-glog curl googletest benchmark rapidjson openssl cpp-httplib; do
    say "  source package $package"
    debian_source "$package" >/dev/null
  done
}

step_rapidjson() {
  local source
  source=$(debian_source rapidjson)
  # Headers only: no compile, only the headers and the CMake package file.
  cmake_windows rapidjson "$source" -DRAPIDJSON_BUILD_DOC=OFF -DRAPIDJSON_BUILD_EXAMPLES=OFF \
    -DRAPIDJSON_BUILD_TESTS=OFF
}

step_encoder() {
  local work="$CACHE/build/npm"
  rm -rf "$work"
  mkdir -p "$work"
  (cd "$work" && npm pack --silent @ffmpeg-installer/win32-x64 @ffprobe-installer/win32-x64 >/dev/null)
  for tarball in "$work"/*.tgz; do
    mkdir -p "$work/x" && tar -xzf "$tarball" -C "$work/x"
    if [ -f "$work/x/package/ffmpeg.exe" ]; then cp "$work/x/package/ffmpeg.exe" "$CACHE/bin/encoder.exe"; fi
    if [ -f "$work/x/package/ffprobe.exe" ]; then cp "$work/x/package/ffprobe.exe" "$CACHE/bin/mediainfo.exe"; fi
    rm -rf "$work/x"
  done
  rm -rf "$work"
  [ -f "$CACHE/bin/encoder.exe" ] && [ -f "$CACHE/bin/mediainfo.exe" ]
}

step_gtest() {
  local source
  source=$(debian_source googletest)
  cmake_windows googletest "$source" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -DBUILD_SHARED_LIBS=OFF
}

step_benchmark() {
  local source
  source=$(debian_source benchmark)
  # Debian's copy reads its version from the build, not from Git tags.
  cmake_windows benchmark "$source" -DGIT_VERSION="$(upstream_version "$source")" -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF \
    -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_INSTALL=ON -DBUILD_SHARED_LIBS=OFF
}

step_glog() {
  local source
  source=$(debian_source google-glog)
  # A DLL, as the program's start-up check expects libglog.dll beside it.
  cmake_windows glog "$source" -DBUILD_SHARED_LIBS=ON -DWITH_GFLAGS=OFF -DWITH_GTEST=OFF \
    -DWITH_UNWIND=OFF -DBUILD_TESTING=OFF
}

step_curl() {
  local source
  source=$(debian_source curl)
  # HTTP(S) only, with Windows' own TLS (Schannel) and certificate store.
  cmake_windows curl "$source" -DBUILD_SHARED_LIBS=ON -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF \
    -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBSSH=OFF \
    -DUSE_LIBIDN2=OFF -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF \
    -DHTTP_ONLY=ON -DCURL_DISABLE_LDAP=ON -DENABLE_MANUAL=OFF -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none
}

# Only for the tests: the local HTTPS server they talk to (cpp-httplib on OpenSSL) and
# openssl.exe, which makes its certificate. Static, so nothing of it is shipped.
step_openssl() {
  local source build="$CACHE/build/openssl" log="$CACHE/logs/openssl.log"
  source=$(debian_source openssl)
  local options=(mingw64 --cross-compile-prefix="$TRIPLE-" --prefix="$PREFIX" --libdir=lib
    --openssldir="$PREFIX/ssl" no-shared no-tests no-asm no-engine no-dso)
  # Like Qt's, a build cut short goes on where it was.
  if [ -f "$build/.configured" ] && [ "$(cat "$build/.configured")" = "${options[*]}" ]; then
    say "  resuming the configured build in $build"
  else
    rm -rf "$build"
    cp -a "$source" "$build"
    : >"$log"
    (cd "$build" && run_logged "$log" ./Configure "${options[@]}")
    echo "${options[*]}" >"$build/.configured"
  fi
  # build_programs brings the libraries; naming both goals races under -j.
  (cd "$build" && run_logged "$log" nice -n "$NICE" make -j"$JOBS" build_programs)
  (cd "$build" && run_logged "$log" make install_sw)
  rm -rf "$build"
}

step_httplib() {
  local source
  source=$(debian_source cpp-httplib)
  # The single header as upstream ships it: on Windows it is used header-only.
  mkdir -p "$PREFIX/include"
  cp "$source/httplib.h" "$PREFIX/include/httplib.h"
}

step_qt() {
  local source build="$CACHE/build/qt" log="$CACHE/logs/qt.log"
  source=$(debian_source qtbase-opensource-src)
  # Debian's copy lacks the Wintab headers, hence no tablet events. Only what Kovadle
  # uses: no OpenGL, D-Bus, ICU or SQL drivers.
  local options=(-xplatform win32-g++ -device-option CROSS_COMPILE=$TRIPLE- -prefix "$CACHE/qt"
    -opensource -confirm-license -release -shared -nomake examples -nomake tests -no-opengl
    -no-dbus -no-icu -no-feature-tabletevent -qt-zlib -qt-libpng -qt-libjpeg -qt-pcre
    -qt-freetype -qt-harfbuzz -no-sql-sqlite -no-sql-odbc -no-sql-psql -no-sql-mysql)
  rm -rf "$CACHE/qt"
  # A build that was cut short (the machine stopped) goes on where it was, if it was
  # configured the same way; make skips what is already compiled.
  if [ -f "$build/.configured" ] && [ "$(cat "$build/.configured")" = "${options[*]}" ]; then
    say "  resuming the configured build in $build"
  else
    rm -rf "$build"
    mkdir -p "$build"
    : >"$log"
    (cd "$build" && run_logged "$log" nice -n "$NICE" "$source/configure" "${options[@]}")
    echo "${options[*]}" >"$build/.configured"
    say "  configured; compiling (the longest part)"
  fi
  (cd "$build" && run_logged "$log" nice -n "$NICE" make -j"$JOBS")
  (cd "$build" && run_logged "$log" make install)
  rm -rf "$build"
}

# Runs one step unless its stamp says it is done; a lock keeps two calls apart.
run_step() {
  local name=$1 started=$SECONDS
  exec 9>"$CACHE/stamps/$name.lock"
  flock 9
  if [ -f "$CACHE/stamps/$name.done" ]; then
    say "$name: cached"
  else
    say "$name: building"
    "step_$name"
    date -u +%FT%TZ >"$CACHE/stamps/$name.done"
    say "$name: done in $(duration $((SECONDS - started)))"
  fi
  exec 9>&-
}

# All in one function, parsed whole before it runs, so editing this file while a long
# build runs cannot change what the running copy does next.
main() {
  local steps=("$@") total name
  [ ${#steps[@]} -eq 0 ] && steps=("${ALL_STEPS[@]}")
  total=$SECONDS
  # The toolchain comes first whatever was asked, and is checked on every call (only
  # missing packages are installed): every other step needs it.
  say "toolchain: checking the Debian packages"
  step_toolchain
  for name in "${steps[@]}"; do
    [ "$name" = toolchain ] && continue
    if ! declare -F "step_$name" >/dev/null; then
      echo "unknown step: $name (known: toolchain ${ALL_STEPS[*]})" >&2
      exit 2
    fi
    run_step "$name"
  done
  say "all done in $(duration $((SECONDS - total))); cache: $CACHE"
}

main "$@"
exit
