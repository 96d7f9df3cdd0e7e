#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Kovadle need,
# only those that are missing.
set -euo pipefail

PACKAGES=(
  # build
  cmake make g++ pkg-config qtbase5-dev qttools5-dev qttools5-dev-tools libgoogle-glog-dev
  libcurl4-openssl-dev rapidjson-dev
  # run time: the encoder and the probe
  ffmpeg
  # a font with Chinese glyphs for the default (Chinese) interface, and Qt's own
  # texts (file dialog, standard buttons) in Chinese
  fonts-wqy-microhei qttranslations5-l10n
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev libssl-dev openssl
  dbus dbus-daemon
  # locale sources: the engine's tests also run under a generated comma-decimal locale
  locales
)

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
