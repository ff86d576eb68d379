#!/usr/bin/env bash
# Makes the Debian packages (ondix, ondix-calc, ondix-grafico, libondix1, libondix-dev, python3-ondix; see
# cmake/pacchetto.cmake) in their own build directory (build-deb/ unless given), compiled with Debian's hardening
# flags (dpkg-buildflags), with the manual pages. Checks the desktop entry and the AppStream data, lints every
# package with lintian (no error and no warning allowed), checks that the libraries and the modules are bound at
# load time (BIND_NOW) and that packing again gives the same bytes (SOURCE_DATE_EPOCH: the change log's date).
# With --prova it then installs the packages with apt-get, checks that both programs start from /usr/bin (ondix
# under Xvfb, until its first paint) and that the library and the Python module work, and removes them again.
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
# Every date recorded in the packages (file times, manual pages) is the change log's.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$ROOT/packaging/changelog" -S Timestamp)
export SOURCE_DATE_EPOCH
cxxflags=$(cd "$ROOT" && echo "$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)")
ldflags=$(cd "$ROOT" && dpkg-buildflags --get LDFLAGS)
werror=OFF; [ "${CI:-}" = true ] && werror=ON
cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" -DBUILD_TESTING=OFF -DONDIX_BENCH=OFF -DONDIX_MANUALE=ON \
  -DONDIX_WERROR=$werror >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
rm -rf "$dir"/*.deb "$dir/ancora"
(cd "$dir" && cpack -G DEB >/dev/null)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
versione=$(cd "$dir" && dpkg-deb -f ondix-calc_*.deb Version)
pacchetti=(ondix ondix-calc ondix-grafico libondix1 libondix-dev python3-ondix)
declare -A deb
for p in "${pacchetti[@]}"; do
  deb[$p]=$(ls "$dir/${p}_${versione}_"*.deb 2>/dev/null) || { echo "no package $p was made" >&2; exit 1; }
  dpkg-deb -f "${deb[$p]}" Package Version Depends
done

# One version everywhere: the build's, the change log's and the AppStream release's.
[ "$(dpkg-parsechangelog -l "$ROOT/packaging/changelog" -S Version)" = "$versione" ] ||
  { echo "packaging/changelog does not start with version $versione" >&2; exit 1; }
grep -q "<release version=\"$versione\"" "$ROOT/data/ondix.metainfo.xml" ||
  { echo "data/ondix.metainfo.xml has no release $versione" >&2; exit 1; }

for p in "${pacchetti[@]}"; do
  lint=0
  esito=$(lintian --fail-on error,warning "${deb[$p]}" 2>&1) || lint=$?
  # (Root is told that it should not lint; the check itself is the same.)
  grep -v '^running with root privileges' <<<"$esito" || true
  [ "$lint" -eq 0 ] || { echo "lintian found errors or warnings in ${deb[$p]}" >&2; exit 1; }
done
echo "lintian: no error, no warning in ${#pacchetti[@]} packages"

# What each package must hold.
id=io.github.ondix.Ondix
modulo=./usr/lib/$multiarch/ondix/ondix-grafico.so
libreria=./usr/lib/$multiarch/libondix.so.1
declare -A attesi=(
  [ondix]="./usr/bin/ondix ./usr/share/applications/$id.desktop ./usr/share/icons/hicolor/scalable/apps/$id.svg
           ./usr/share/icons/hicolor/48x48/apps/$id.png ./usr/share/metainfo/$id.metainfo.xml
           ./usr/share/man/man1/ondix.1.gz"
  [ondix-calc]="./usr/bin/ondix-calc ./usr/share/man/man1/ondix-calc.1.gz"
  [ondix-grafico]="$modulo"
  [libondix1]="$libreria"
  [libondix-dev]="./usr/include/ondix/ondix.h ./usr/lib/$multiarch/libondix.so
                  ./usr/lib/$multiarch/cmake/ondix/ondixConfig.cmake ./usr/lib/$multiarch/pkgconfig/ondix.pc"
  [python3-ondix]="./usr/lib/python3/dist-packages/ondix/__init__.py ./usr/lib/python3/dist-packages/ondix/__init__.pyi"
)
for p in "${pacchetti[@]}"; do
  contenuto=$(dpkg-deb -c "${deb[$p]}")
  for f in ${attesi[$p]} ./usr/share/doc/$p/copyright ./usr/share/doc/$p/changelog.gz; do
    grep -q " $f\( -> .*\)\?\$" <<<"$contenuto" || { echo "the package $p lacks $f" >&2; exit 1; }
  done
done
# ondix-calc runs without Qt; the chart module is only suggested.
! dpkg-deb -f "${deb[ondix-calc]}" Depends | grep -qi qt || { echo "ondix-calc depends on Qt" >&2; exit 1; }
dpkg-deb -f "${deb[ondix-calc]}" Suggests | grep -q ondix-grafico || { echo "ondix-calc does not suggest ondix-grafico" >&2; exit 1; }
# The manual page documents the JSON keys.
dpkg-deb --fsys-tarfile "${deb[ondix-calc]}" | tar -xO ./usr/share/man/man1/ondix-calc.1.gz | zcat | grep -q versione_formato ||
  { echo "the manual page of ondix-calc lacks the JSON keys" >&2; exit 1; }
# Libraries and modules bound at load time, read-only after relocation, like the programs.
estratti=$(mktemp -d)
for p in ondix-grafico libondix1 python3-ondix; do dpkg-deb -x "${deb[$p]}" "$estratti"; done
for f in "$estratti/${modulo#./}" "$estratti/${libreria#./}".*.* "$estratti"/usr/lib/python3/dist-packages/ondix/_ondix*.so; do
  dinamica=$(readelf -d "$f")
  grep -q 'BIND_NOW\|FLAGS_1.*NOW' <<<"$dinamica" && readelf -lW "$f" | grep -q GNU_RELRO ||
    { echo "$f is not linked with -z now and -z relro" >&2; exit 1; }
done
rm -rf "$estratti"
# Packed again, a moment later, the packages are the same bytes.
sleep 1
(cd "$dir" && cpack -G DEB -B "$dir/ancora" >/dev/null)
for p in "${pacchetti[@]}"; do
  cmp -s "${deb[$p]}" "$dir/ancora/$(basename "${deb[$p]}")" ||
    { echo "packing $p again gave other bytes: the package is not reproducible" >&2; exit 1; }
done
echo "packages: hardened modules (BIND_NOW), reproducible"

$prova || exit 0
if dpkg-query -W -f='${Status}' ondix 2>/dev/null | grep -q 'install ok installed'; then
  echo "ondix is already installed on this machine: the install test is skipped rather than replace it"
  exit 0
fi
rimuovi() { as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${pacchetti[@]}" >/dev/null || true; }
trap rimuovi EXIT
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${deb[@]}" >/dev/null
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
# The library from C++ (pkg-config) and from Python, as a user of the packages would.
prova_lib=$(mktemp -d)
c++ -std=c++17 "$ROOT/tests/lib/esempio/esempio.cpp" $(pkg-config --cflags --libs ondix) -o "$prova_lib/esempio"
"$prova_lib/esempio" | cmp - "$ROOT/tests/lib/esempio.out" || { echo "the library example differs" >&2; exit 1; }
rm -rf "$prova_lib"
(cd / && /usr/bin/python3 -c 'import ondix; assert round(ondix.stato(t=20, ur=50)["x"], 3) == 7.251') ||
  { echo "the Python module does not work from its package" >&2; exit 1; }
echo "installed packages: ondix-calc runs, ondix paints its first window ($avvio), library and module work"
