#!/usr/bin/env bash
# Makes the Debian package (ondix_VERSION_ARCH.deb) in its own build directory (build-deb/ unless given): the
# programs only, compiled with Debian's hardening flags (dpkg-buildflags), with their manual pages. Checks the
# desktop entry and the AppStream data, and lints the package with lintian (no error and no warning allowed).
# With --prova it then installs the package with apt-get, checks that both programs start from /usr/bin (ondix
# under Xvfb, until its first paint) and removes the package again.
# Usage: packaging/deb.sh [--prova] [BUILD_DIR]
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
prova=false
if [ "${1:-}" = --prova ]; then prova=true; shift; fi
dir=${1:-${ONDIX_DEB_DIR:-$ROOT/build-deb}}
install_packages "${DEB_PACKAGES[@]}"

desktop-file-validate "$ROOT/data/ondix.desktop"
appstreamcli validate --no-net --pedantic "$ROOT/data/ondix.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net "$ROOT/data/ondix.metainfo.xml"

# Debian's flags for a package, with every hardening feature (bindnow as well); asked for in the source tree so
# that the paths recorded in the programs are relative to it.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags=$(cd "$ROOT" && echo "$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)")
ldflags=$(cd "$ROOT" && dpkg-buildflags --get LDFLAGS)
werror=OFF; [ "${CI:-}" = true ] && werror=ON
cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$cxxflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DBUILD_TESTING=OFF -DONDIX_BENCH=OFF -DONDIX_MANUALE=ON \
  -DONDIX_WERROR=$werror >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
rm -f "$dir"/ondix_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/ondix_*.deb)
echo "package: $deb"
dpkg-deb -f "$deb" Package Version Depends

# One version everywhere: the build's, the change log's and the AppStream release's.
versione=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-parsechangelog -l "$ROOT/packaging/changelog" -S Version)" = "$versione" ] ||
  { echo "packaging/changelog does not start with version $versione" >&2; exit 1; }
grep -q "<release version=\"$versione\"" "$ROOT/data/ondix.metainfo.xml" ||
  { echo "data/ondix.metainfo.xml has no release $versione" >&2; exit 1; }

lint=0
esito=$(lintian --fail-on error,warning "$deb" 2>&1) || lint=$?
# (Root is told that it should not lint; the check itself is the same.)
grep -v '^running with root privileges' <<<"$esito" || true
[ "$lint" -eq 0 ] || { echo "lintian found errors or warnings in $deb" >&2; exit 1; }
echo "lintian: no error, no warning"

contenuto=$(dpkg-deb -c "$deb")
# The chart export of ondix-calc is a module in the private library directory.
modulo=./usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/ondix/ondix-grafico.so
for f in ./usr/bin/ondix ./usr/bin/ondix-calc ./usr/share/applications/ondix.desktop \
         ./usr/share/icons/hicolor/scalable/apps/ondix.svg ./usr/share/icons/hicolor/48x48/apps/ondix.png \
         ./usr/share/metainfo/org.example.ondix.metainfo.xml ./usr/share/man/man1/ondix.1.gz \
         ./usr/share/man/man1/ondix-calc.1.gz ./usr/share/doc/ondix/copyright ./usr/share/doc/ondix/changelog.gz \
         "$modulo"; do
  grep -q " $f\$" <<<"$contenuto" || { echo "the package lacks $f" >&2; exit 1; }
done
# The manual page documents the JSON keys.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/man/man1/ondix-calc.1.gz | zcat | grep -q versione_formato ||
  { echo "the manual page of ondix-calc lacks the JSON keys" >&2; exit 1; }

$prova || exit 0
if dpkg-query -W -f='${Status}' ondix 2>/dev/null | grep -q 'install ok installed'; then
  echo "ondix is already installed on this machine: the install test is skipped rather than replace it"
  exit 0
fi
rimuovi() { as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq ondix >/dev/null || true; }
trap rimuovi EXIT
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
/usr/bin/ondix-calc 4 | grep -q "PROPRIETA DEL PUNTO"
[ "$(/usr/bin/ondix-calc --version)" = "ondix-calc $versione" ]
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/ondix --version)" = "ondix $versione" ]
printf 't;ur\n20;50\n' | /usr/bin/ondix-calc stati | grep -qx "20.00;50.00;7.251;38.414;0.8395;13.73;9.25"
grafico=$(mktemp -d)
/usr/bin/ondix-calc 4 --grafico "$grafico/punto.png" >/dev/null
file "$grafico/punto.png" | grep -q "PNG image data, 1024 x 768" || { echo "ondix-calc drew no chart" >&2; exit 1; }
rm -rf "$grafico"
# The desktop program ends itself at its first paint when ONDIX_MISURA_AVVIO holds the launch time.
avvio=$(ONDIX_MISURA_AVVIO=$(date +%s%N) timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" /usr/bin/ondix 2>&1 |
        grep -v '^QStandardPaths' || true)
grep -q '[0-9]' <<<"$avvio" || { echo "ondix did not start from the package: $avvio" >&2; exit 1; }
echo "installed package: ondix-calc runs, ondix paints its first window ($avvio)"
