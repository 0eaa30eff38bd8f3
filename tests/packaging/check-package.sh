#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a packager and a user get: the
# files in their places, the menu entry and metainfo valid, the installed desk seeding its
# per-user folder, and the Debian package's contents, dependencies and lintian errors.
#   check-package.sh <build-dir>
set -euo pipefail
build=$1
work=$(mktemp -d)
desk=""
cleanup() {
  [ -n "$desk" ] && kill "$desk" 2>/dev/null && wait "$desk" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/usr
cmake --install "$build" --prefix "$prefix" > "$work/install.log"
id=org.lendora.Desk
for f in bin/lendora bin/lendora-cli \
         share/lendora/readme.txt share/lendora/readme_en.txt share/lendora/QUICKTIP.INI \
         share/lendora/translations/lendora_en.qm \
         share/lendora/style/type-style.skn share/lendora/style/light-hearted.skn \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/16x16/apps/$id.png share/icons/hicolor/256x256/apps/$id.png \
         share/icons/hicolor/scalable/apps/$id.svg \
         share/man/man1/lendora.1.gz share/man/man1/lendora-cli.1.gz \
         share/doc/lendora/copyright share/doc/lendora/changelog.Debian.gz; do
  [ -e "$prefix/$f" ] || fail "$f not installed"
done
# Nothing but the program's own files: no test, tool or benchmark.
extra=$(cd "$prefix/bin" && ls | grep -v -x -e lendora -e lendora-cli || true)
[ -z "$extra" ] || fail "unexpected programs installed: $extra"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" > "$work/as.log" \
  || { cat "$work/as.log"; fail "metainfo invalid"; }
for page in lendora lendora-cli; do
  out=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$out" ] || fail "man page $page: $out"
done

# The installed desk keeps its library in the per-user data folder, seeded from share/.
export HOME=$work/home XDG_DATA_HOME=$work/home/data QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
data=$XDG_DATA_HOME/lendora
"$prefix/bin/lendora" > "$work/desk.log" 2>&1 &
desk=$!
for _ in $(seq 1 100); do
  [ -f "$data/mdb/Lendora.mdb" ] && break
  sleep 0.1
done
[ -f "$data/mdb/Lendora.mdb" ] || fail "the installed desk made no library in $data"
for f in readme.txt readme_en.txt QUICKTIP.INI style/type-style.skn; do
  [ -f "$data/$f" ] || fail "$f not seeded into $data"
done
[ ! -e "$prefix/bin/mdb" ] || fail "the installed desk wrote beside its program"
# It ends on SIGTERM, whenever that comes: a session's logout may come during its start.
kill "$desk"
for _ in $(seq 1 100); do
  kill -0 "$desk" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$desk" 2>/dev/null && fail "the installed desk did not end on SIGTERM"
wait "$desk" 2>/dev/null || true; desk=""
# The installed desk answers --version without a display, and finds its English texts.
"$prefix/bin/lendora" --version | grep -q "^lendora " || fail "lendora --version"
env -u QT_QPA_PLATFORM -u DISPLAY LC_ALL=C.UTF-8 "$prefix/bin/lendora-cli" --app-dir "$data" \
  --help | grep -q "用法" || fail "lendora-cli --help in Chinese"
printf 'Language=en\r\n' >> "$data/setting.ini"
"$prefix/bin/lendora-cli" --app-dir "$data" --help | grep -q "用法" \
  && fail "the installed lendora-cli did not load share/lendora/translations/lendora_en.qm"
# The command line finds the same library by default, and by --app-dir.
"$prefix/bin/lendora-cli" check > /dev/null || fail "lendora-cli check on the per-user library"
"$prefix/bin/lendora-cli" --app-dir "$data" export categories - | grep -q 类别代码 \
  || fail "lendora-cli --app-dir on the per-user folder"

# The Debian package.
(cd "$build" && cpack -G DEB -B "$work/deb" > "$work/cpack.log" 2>&1) \
  || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/deb/lendora_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/lendora ./usr/bin/lendora-cli ./usr/share/lendora/QUICKTIP.INI \
         ./usr/share/lendora/translations/lendora_en.qm \
         ./usr/share/applications/$id.desktop ./usr/share/doc/lendora/copyright; do
  grep -q " $f\$" <<< "$contents" || fail "$f not in the package"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6sql6-sqlite libqt6sql6-psql libsqlite3-0 fonts-wqy-microhei \
         qt6-translations-l10n; do
  grep -q "$d" <<< "$depends" || fail "the package does not depend on $d: $depends"
done
# The server's driver is a dependency, not a suggestion: nothing is left to recommend.
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -q libqt6sql6-psql <<< "$recommends" && fail "libqt6sql6-psql is only recommended: $recommends"
lintian --fail-on error --tag-display-limit 0 "$deb" > "$work/lintian.log" 2>&1 \
  || { cat "$work/lintian.log"; fail "lintian errors"; }
echo "package checks passed"
