#!/usr/bin/env bash
# Makes the Debian package (ondix_VERSION_ARCH.deb) from a configured and built tree, by default build/.
# With --prova it then installs the package with apt-get, checks that both programs start from /usr/bin (ondix
# under Xvfb, until its first paint) and removes the package again.
# Usage: packaging/deb.sh [--prova] [BUILD_DIR]
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
prova=false
if [ "${1:-}" = --prova ]; then prova=true; shift; fi
dir=$(cd "${1:-$BUILD}" && pwd)
install_packages "${DEB_PACKAGES[@]}"

cmake --build "$dir" --target ondix ondix-calc
rm -f "$dir"/ondix_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/ondix_*.deb)
echo "package: $deb"
dpkg-deb -f "$deb" Package Version Depends

contenuto=$(dpkg-deb -c "$deb")
# The chart export of ondix-calc is a module in the private library directory.
modulo=./usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/ondix/ondix-grafico.so
for f in ./usr/bin/ondix ./usr/bin/ondix-calc ./usr/share/applications/ondix.desktop \
         ./usr/share/icons/hicolor/scalable/apps/ondix.svg "$modulo"; do
  grep -q " $f\$" <<<"$contenuto" || { echo "the package lacks $f" >&2; exit 1; }
done

$prova || exit 0
if dpkg-query -W -f='${Status}' ondix 2>/dev/null | grep -q 'install ok installed'; then
  echo "ondix is already installed on this machine: the install test is skipped rather than replace it"
  exit 0
fi
rimuovi() { as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq ondix >/dev/null || true; }
trap rimuovi EXIT
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
/usr/bin/ondix-calc 4 | grep -q "PROPRIETA DEL PUNTO"
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
