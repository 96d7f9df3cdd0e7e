#!/bin/sh
# Runs the given test programs (from the current folder) under de_DE.UTF-8, whose
# decimal separator is a comma. The locale is generated into a temporary folder,
# so the machine needs only localedef and the locale sources, not the locale.
set -u
if ! command -v localedef >/dev/null 2>&1; then
  echo "skipped: localedef is missing, number texts not checked under a comma locale"
  exit 77
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# localedef may warn with a non-zero status and still write the locale.
localedef -i de_DE -f UTF-8 "$dir/de_DE.UTF-8" >"$dir/localedef.log" 2>&1
if [ ! -f "$dir/de_DE.UTF-8/LC_NUMERIC" ]; then
  echo "skipped: localedef could not make de_DE.UTF-8 (locale sources missing?)"
  cat "$dir/localedef.log"
  exit 77
fi
export LOCPATH="$dir" LC_ALL=de_DE.UTF-8 KOVADLE_EXPECT_COMMA_LOCALE=1
status=0
for program in "$@"; do
  echo "=== $program under LC_ALL=$LC_ALL"
  "./$program" || status=1
done
exit $status
