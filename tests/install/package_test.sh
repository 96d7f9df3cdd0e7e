#!/bin/sh
# Builds the Debian package from the finished build (cpack reuses it) into a
# temporary folder and inspects it: fields, dependencies, files, links, and what
# lintian, desktop-file-validate and appstreamcli say.
# Usage: package_test.sh BUILD_DIR VERSION
. "$(dirname "$0")/lib.sh"
build=$1
version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps file lintian desktop-file-validate appstreamcli man; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is missing (scripts/setup.sh installs the packaging tools)"
    exit 77
  fi
done

(cd "$build" && cpack -G DEB -B "$work") >"$work/cpack.log" 2>&1 || fail "cpack: $(cat "$work/cpack.log")"
deb=$work/kovadle_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb: $(ls "$work")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kovadle ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
depends=$(field Depends)
# What it runs and loads by name, and (from dpkg-shlibdeps) what it links.
for needed in "ffmpeg," "xdg-utils," "fonts-wqy-microhei | fonts-noto-cjk," "qttranslations5-l10n," \
  "libqt5widgets5 " "libcurl4 " "libgoogle-glog"; do
  case "$depends, " in
    *"$needed"*) ;;
    *) fail "Depends lacks '$needed': $depends" ;;
  esac
done

dpkg-deb -c "$deb" >"$work/contents"
# Everything under /usr, owned by root.
if awk '$6 !~ /^\.\/usr\// && $6 != "./" || $2 != "root/root"' "$work/contents" | grep .; then
  fail "entries outside /usr or not owned by root"
fi
for entry in \
  "./usr/bin/kovadle -> ../lib/kovadle/kovadle" \
  "./usr/bin/kovadle-cli -> ../lib/kovadle/kovadle-cli" \
  "./usr/lib/kovadle/bin/encoder -> ../../../bin/ffmpeg" \
  "./usr/lib/kovadle/bin/mediainfo -> ../../../bin/ffprobe" \
  "./usr/lib/kovadle/translations -> ../../share/kovadle/translations" \
  "./usr/lib/kovadle/icon -> ../../share/kovadle/icon" \
  ./usr/lib/kovadle/kovadle ./usr/lib/kovadle/kovadle-cli \
  ./usr/share/kovadle/translations/qt_cn.qm ./usr/share/kovadle/icon/menu.png \
  ./usr/share/applications/kovadle.desktop ./usr/share/metainfo/com.kovadle.kovadle.metainfo.xml \
  ./usr/share/icons/hicolor/48x48/apps/kovadle.png ./usr/share/man/man1/kovadle-cli.1.gz \
  ./usr/share/doc/kovadle/copyright; do
  grep -qE " $entry\$" "$work/contents" || fail "the package lacks $entry"
done

# lintian's errors fail the test; its warnings and notes are shown.
status=0
lintian --fail-on error --display-info "$deb" >"$work/lintian.log" 2>&1 || status=$?
grep -v "^running with root" "$work/lintian.log" || true
[ "$status" -eq 0 ] || fail "lintian reports errors"
dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/kovadle.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/com.kovadle.kovadle.metainfo.xml" ||
  fail "appstreamcli validate"
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
  complaints=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$complaints" ] || fail "man finds faults in $page: $complaints"
done
echo "package $(basename "$deb") checked"
