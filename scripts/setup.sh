#!/usr/bin/env bash
# Installs the Debian packages Kovadle needs, only those that are missing.
#   setup.sh            everything: building, running, testing, packaging
#   setup.sh --program  only building and running the program (scripts/run.sh)
#   setup.sh --package  the program and making its Debian package (scripts/package.sh)
set -euo pipefail

PROGRAM=(
  # build
  cmake make g++ pkg-config qtbase5-dev qttools5-dev qttools5-dev-tools libgoogle-glog-dev
  libcurl4-openssl-dev rapidjson-dev
  # run time: the encoder and the probe, the opener of files and folders
  ffmpeg xdg-utils
  # a font with Chinese glyphs for the default (Chinese) interface, and Qt's own
  # texts (file dialog, standard buttons) in Chinese
  fonts-wqy-microhei qttranslations5-l10n
)
# cpack's DEB generator asks dpkg-shlibdeps (dpkg-dev) and file for the libraries
PACKAGE=(dpkg-dev file)
TESTS=(
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev libssl-dev openssl
  dbus dbus-daemon
  # locale sources: the engine's tests also run under a generated comma-decimal locale
  locales
  # the package's test: its checkers
  lintian desktop-file-utils appstream man-db
)

case "${1:-}" in
  --program) PACKAGES=("${PROGRAM[@]}") ;;
  --package) PACKAGES=("${PROGRAM[@]}" "${PACKAGE[@]}") ;;
  "") PACKAGES=("${PROGRAM[@]}" "${PACKAGE[@]}" "${TESTS[@]}") ;;
  *) echo "usage: $0 [--program|--package]" >&2; exit 2 ;;
esac

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
