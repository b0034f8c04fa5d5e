#!/usr/bin/env bash
# The Debian packages each command needs, installed with apt when missing, and the build into
# build/. Sourced by ./run, ./test and ./package.
set -euo pipefail

# What building and running the program needs (./run). The one build configures the tests and
# the benchmarks too, hence GoogleTest and Google Benchmark; Xvfb and ImageMagick run the demo
# on a machine without a display. Qt's own translations put its dialogs and buttons into
# Chinese (and the Windows zip takes them from there).
ZUOHAO_RUN_PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-multimedia-dev qt6-translations-l10n
  libsqlite3-dev libgtest-dev libbenchmark-dev
  libatspi2.0-dev libx11-dev at-spi2-core dbus
  xvfb xauth imagemagick fonts-wqy-microhei
)
# What ./test adds: clang for the fuzz targets, the desktop tests' tools, and the Windows build
# of the core and the command-line tool with Wine to run its tests.
ZUOHAO_TEST_PACKAGES=(
  clang xdotool dbus-x11 locales
  mingw-w64 wine wine64 ninja-build dpkg-dev tcl
)
# What ./package adds: the Windows build, its zip and installer (NSIS), signing and its check
# (osslsigncode, openssl), the check of the programs' PE headers (python3), and Debian's
# checks of the package and its AppStream data.
ZUOHAO_PACKAGE_PACKAGES=(
  mingw-w64 wine wine64 ninja-build dpkg-dev tcl locales zip unzip xdotool
  nsis osslsigncode openssl python3
  lintian appstream
)

# zuohao_install_missing PACKAGE...: installs those of the packages that are missing.
zuohao_install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "==> installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -q
    $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -q "${missing[@]}"
  fi
}

zuohao_build() {
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  # ccache, where the machine has it, keeps a rebuild of unchanged files short.
  local launcher=()
  command -v ccache >/dev/null &&
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
  cmake --build build -j"$jobs"
}
