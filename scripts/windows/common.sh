#!/usr/bin/env bash
# Shared by the Windows build scripts: cache folder, toolchain file, Debian source packages.
ZUOHAO_WIN_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ZUOHAO_WIN_TOOLCHAIN="$ZUOHAO_WIN_DIR/mingw-w64-x86_64.cmake"
ZUOHAO_WIN_CACHE="${XDG_CACHE_HOME:-$HOME/.cache}/zuohao/windows"

# The Debian mirror this machine already uses, read from its own apt sources: the source
# packages come from the same place as the binaries.
zuohao_debian_uri() {
  local uri=""
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources)
  fi
  if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    uri=$(awk '$1 == "deb" && $0 !~ /security/ {for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) {print $i; exit}}' /etc/apt/sources.list)
  fi
  [ -n "$uri" ] || { echo "no Debian mirror found in the apt sources" >&2; return 1; }
  echo "$uri"
}

# apt-get with a private list of deb-src entries, so the machine's own apt setup is left as is.
zuohao_apt_src() {
  local state="$ZUOHAO_WIN_CACHE/apt"
  mkdir -p "$state/lists/partial" "$state/archives/partial"
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  echo "deb-src $(zuohao_debian_uri) $codename main" >"$state/sources.list"
  apt-get -q -o Dir::Etc::SourceList="$state/sources.list" -o Dir::Etc::SourceParts=/dev/null \
    -o Dir::State::Lists="$state/lists" -o Dir::Cache::Archives="$state/archives" \
    -o Dir::Cache::pkgcache="" -o Dir::Cache::srcpkgcache="" "$@"
}

# Downloads and unpacks a Debian source package (name=version) into the current folder.
zuohao_fetch_source() {
  [ -n "$(ls "$ZUOHAO_WIN_CACHE/apt/lists" 2>/dev/null | grep -i sources)" ] || zuohao_apt_src update
  zuohao_apt_src source "$1"
}

# The Windows programs are tried in a Chinese locale (Wine takes the system code page and the
# language from it): makes that locale when the machine lacks it (as root, or with sudo).
zuohao_need_locale() {
  local name=$1 # for example zh_CN.UTF-8
  local wanted
  wanted=$(echo "$name" | tr 'A-Z' 'a-z' | tr -d '-')
  locale -a 2>/dev/null | tr 'A-Z' 'a-z' | tr -d '-' | grep -qx "$wanted" && return 0
  echo "==> generating the locale $name" >&2
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if grep -q "^# *$name UTF-8" /etc/locale.gen 2>/dev/null; then
    $sudo sed -i "s/^# *\($name UTF-8\)/\1/" /etc/locale.gen
  else
    echo "$name UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen >&2
}
