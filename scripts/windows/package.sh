#!/usr/bin/env bash
# Packs the Windows program of build-win/out, from one list of its files, as
#   build-win/Kovadle-<version>-win64.zip     what a user unzips: kovadle.exe with its
#                                             DLLs, plugins, bin/, translations/, icon/
#   build-win/Kovadle-Setup-<version>.exe     an installer of the same files (NSIS,
#                                             packaging/windows/kovadle.nsi)
# The test and benchmark programs (and the DLLs and tools only they need) stay out.
# Needs scripts/windows/build.sh first; the installer needs makensis (Debian's nsis,
# which scripts/windows/deps.sh installs).
#
#   scripts/windows/package.sh          both; prints one line per package: path (size)
#   scripts/windows/package.sh zip      only the zip
#   scripts/windows/package.sh setup    only the installer
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$(pwd)
OUT="$ROOT/build-win/out"
LISTS="$ROOT/build-win/package"
what=${1:-all}
case $what in
  all | zip | setup) ;;
  *)
    echo "usage: $0 [zip|setup]" >&2
    exit 2
    ;;
esac
[ -f "$OUT/kovadle.exe" ] || {
  echo "No $OUT/kovadle.exe: run scripts/windows/build.sh" >&2
  exit 1
}
version=$(sed -n 's/^project(Kovadle VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || {
  echo "No version in CMakeLists.txt's project()" >&2
  exit 1
}

# The shipped files, relative to build-win/out, in a stable order.
mkdir -p "$LISTS"
(cd "$OUT" && find . -type f -printf '%P\n') |
  grep -Ev '^(test_|bench_)|_helper\.exe$|^(Qt5Test\.dll|openssl\.exe)$|\.log$' |
  LC_ALL=C sort >"$LISTS/files.txt"
# NSIS reads these names inside double quotes, where $ starts a variable.
if grep -q '["$]' "$LISTS/files.txt"; then
  echo "A file name in $OUT holds a \" or \$: not packed" >&2
  exit 1
fi

if [ "$what" != setup ]; then
  zip_path="$ROOT/build-win/Kovadle-$version-win64.zip"
  rm -f "$zip_path"
  (cd "$OUT" && zip -q -9 -X "$zip_path" -@ <"$LISTS/files.txt")
  echo "$zip_path ($(du -h "$zip_path" | cut -f1))"
fi

if [ "$what" != zip ]; then
  command -v makensis >/dev/null || {
    echo "makensis is missing (Debian's nsis): run scripts/windows/deps.sh" >&2
    exit 1
  }
  # What the installer extracts, folder by folder, and what its uninstaller removes:
  # exactly these files, then their folders when empty (never a whole folder, which
  # may hold what the user put there).
  awk -v out="$OUT" 'BEGIN { last = "-" } {
      dir = $0; sub(/\/?[^\/]*$/, "", dir)
      if (dir != last) { win = dir; gsub(/\//, "\\", win); print "SetOutPath \"$INSTDIR" (dir == "" ? "" : "\\" win) "\""; last = dir }
      print "File \"" out "/" $0 "\""
    }' "$LISTS/files.txt" >"$LISTS/install-files.nsh"
  {
    sed 's/\//\\/g; s/.*/Delete "$INSTDIR\\&"/' "$LISTS/files.txt"
    # Every folder that holds a file, with its parents, the deepest first.
    awk '{ n = split($0, part, "/"); path = ""; for (i = 1; i < n; i++) { path = path (i > 1 ? "/" : "") part[i]; print path } }' \
      "$LISTS/files.txt" | sort -u | awk -F/ '{ print NF "\t" $0 }' | sort -k1,1nr -k2 | cut -f2- |
      sed 's/\//\\/g; s/.*/RMDir "$INSTDIR\\&"/'
  } >"$LISTS/uninstall-files.nsh"

  setup_path="$ROOT/build-win/Kovadle-Setup-$version.exe"
  rm -f "$setup_path"
  # Two or three numbers in the project's version; Windows' version resource wants four.
  numeric=$version
  while [ "$(tr -cd . <<<"$numeric" | wc -c)" -lt 3 ]; do numeric="$numeric.0"; done
  makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DVERSION_NUMERIC="$numeric" \
    -DLIST_DIR="$LISTS" -DOUTFILE="$setup_path" packaging/windows/kovadle.nsi \
    >"$LISTS/makensis.log" 2>&1 || {
    tail -n 30 "$LISTS/makensis.log" >&2
    exit 1
  }
  echo "$setup_path ($(du -h "$setup_path" | cut -f1))"
fi
