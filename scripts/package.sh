#!/usr/bin/env bash
# Builds the Debian package build/kovadle_<version>_<arch>.deb from the program,
# kovadle-cli and the packaging files (nothing else is built for it). Install it
# with: sudo apt-get install ./build/kovadle_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
"./scripts/setup.sh" --package
"./scripts/configure.sh"
cmake --build build -j "$(nproc)" --target kovadle_install_set
cd build
cpack -G DEB
