# Shared by scripts/run and scripts/test: install what is missing, then configure and build out of tree.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ONDIX_BUILD_DIR:-$ROOT/build}

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6 libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
  fonts-liberation2 locales xvfb xauth openbox
  unrtf qt6-translations-l10n
  cups printer-driver-cups-pdf poppler-utils
)
# Installed only by the steps that need them: the fuzz build (clang with its libFuzzer and sanitizer runtimes)
# and the Debian package (dpkg-shlibdeps, and file, which CPack uses to find the programs).
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
DEB_PACKAGES=(dpkg-dev file)

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
