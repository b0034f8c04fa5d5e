#!/usr/bin/env bash
# Installs with apt whatever the build and the tests need and is missing, then configures
# and builds into build/. Sourced by ./run and ./test.
set -euo pipefail

ZUOHAO_PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-multimedia-dev libgtest-dev libbenchmark-dev libsqlite3-dev
  xvfb xauth imagemagick fonts-wqy-microhei locales
  clang
  libatspi2.0-dev at-spi2-core libx11-dev xdotool dbus dbus-x11
  mingw-w64 wine wine64 ninja-build dpkg-dev tcl zip unzip
  nsis osslsigncode openssl python3 appstream
)

zuohao_install_missing() {
  local missing=()
  for p in "${ZUOHAO_PACKAGES[@]}"; do
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
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build build -j"$jobs"
}
