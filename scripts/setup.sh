# Shared by scripts/run, scripts/test, scripts/test-sanitize and
# scripts/package: installs what a fresh Debian 12 machine lacks, configures
# and builds the project, runs the tests.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${VELKARO_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libsodium-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-wine
  qt6-translations-l10n
  poppler-utils
  desktop-file-utils dpkg-dev file lintian appstream
  python3-vobject python3-yaml khard abook
  xvfb libxcb1-dev
  radicale qtkeychain-qt6-dev gnome-keyring dbus-daemon
  locales
)

# The packages above, and those named as arguments.
install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The locales the suite runs under besides C: a Russian and a German one,
# whose decimal sign is a comma.
TEST_LOCALES=(ru_RU.UTF-8 de_DE.UTF-8)

generate_locales() {
  local wanted=()
  for l in "${TEST_LOCALES[@]}"; do
    locale -a | grep -qix "${l/UTF-8/utf8}" || wanted+=("$l")
  done
  [ ${#wanted[@]} -eq 0 ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  for l in "${wanted[@]}"; do
    $sudo sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
  done
  $sudo locale-gen
}

build() {
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}

run_tests() {
  export QT_QPA_PLATFORM=offscreen
  cd "$BUILD_DIR"
  ctest --output-on-failure -j "$(nproc)" --timeout 600
  # Once more under a locale whose decimal sign and language differ; the
  # package tests do not depend on it.
  LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 ctest --output-on-failure -j "$(nproc)" --timeout 600 \
    -E 'debian_package|DebianPackage|InstalledCopy'
}
