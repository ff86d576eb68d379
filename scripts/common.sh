# Shared by scripts/run and scripts/test: install what is missing, then configure and build out of tree.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ONDIX_BUILD_DIR:-$ROOT/build}

# What building and running the programs need (scripts/run).
PACKAGES=(
  build-essential cmake ninja-build
  qt6-base-dev qt6-svg-dev libqt6svg6 libgl-dev
  libcli11-dev nlohmann-json3-dev libxlsxwriter-dev pkgconf
  fonts-liberation2 qt6-translations-l10n
  pybind11-dev python3-dev python3-numpy
)
# What the tests and the benchmarks need besides (scripts/test): GoogleTest, Google Benchmark, the virtual
# display with a window manager, the locales the tests run under, an independent RTF reader, a real print queue
# writing PDF files with a PDF reader, a type checker for the Python module's stubs, an .xlsx reader and a
# spreadsheet program that opens the batch's workbooks.
TEST_PACKAGES=(
  libgtest-dev libbenchmark-dev clang-format git
  locales xvfb xauth openbox
  unrtf
  cups printer-driver-cups-pdf poppler-utils
  python3-pytest python3-pandas python3-dask python3-distributed pkgconf
  mypy python3-openpyxl libreoffice-calc-nogui
)
# Installed only by the steps that need them: the fuzz build (clang with its libFuzzer and sanitizer runtimes)
# and the Debian package (dpkg-shlibdeps and dpkg-buildflags; file, which CPack uses to find the programs;
# help2man for the manual pages; the checkers of the package, the desktop entry and the AppStream data).
FUZZ_PACKAGES=(clang libclang-rt-dev)
DEB_PACKAGES=(dpkg-dev file help2man lintian desktop-file-utils appstream)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else
    echo "Need root (or sudo) to run: $*" >&2; return 1; fi
}

install_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

configure_and_build() {
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)"
}
