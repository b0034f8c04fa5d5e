#!/usr/bin/env bash
# windows-licences.sh FOLDER: puts the licences of everything the Windows zip ships into
# FOLDER: zuohao's own (LICENSE.txt), THIRD-PARTY.txt (what is whose, and where Qt's source
# is) and licenses\: the LGPL and GPL texts, the licence files of the libraries Qt bundles
# (from Qt's own source, gathered once per Qt version into the Windows cache), the GCC
# runtime's and mingw-w64's copyright files. Called by scripts/windows/package-windows.sh.
# ZUOHAO_QT_SOURCE=DIR takes Qt's licence files from an unpacked qt6-base source instead.
set -euo pipefail
dest=$1
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
source "$root/scripts/windows/common.sh"

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
gcc_version=$(x86_64-w64-mingw32-g++-posix -dumpversion)
mingw_version=$(dpkg-query -W -f='${Version}' mingw-w64-x86-64-dev)
sqlite_version=$(dpkg-query -W -f='${Version}' libsqlite3-dev)
qt_flags=$(sed -n '/^flags=(/,/^)/{/^flags=(/d;/^)/d;p}' "$root/scripts/windows/build-qt.sh" |
  sed 's/^ */    /')

# Qt's bundled libraries: every qt_attribution.json of the parts built for Windows, with
# the licence files it names.
qt_licences="$ZUOHAO_WIN_CACHE/qt-licences-${qt_version//+/_}"
gather_qt_licences() {
  local src=$1 out=$2 json dir name
  rm -rf "$out" && mkdir -p "$out"
  while IFS= read -r json; do
    dir=$(dirname "$json")
    name=${dir#"$src"/}
    case "$name" in # parts not in the Windows build
    */android | */wasm | */xcb | */gradle | */VulkanMemoryAllocator | */forkfd | src/dbus | \
      */cocoa | src/gui/opengl | src/gui/vulkan | src/testlib/* | tests/* | cmake/*) continue ;;
    esac
    mkdir -p "$out/${name//\//-}"
    cp "$json" "$out/${name//\//-}/"
    # The files its "LicenseFile" or "LicenseFiles" entries name.
    { tr '\n' ' ' <"$json" | grep -oP '"LicenseFiles?"\s*:\s*(\[[^]]*\]|"[^"]*")' || true; } |
      { grep -oP '(?<=[\["\s,])"[^"]+"' || true; } | tr -d '"' | sort -u | while IFS= read -r f; do
      if [ -f "$dir/$f" ]; then cp "$dir/$f" "$out/${name//\//-}/$(basename "$f")"; fi
    done
  done < <(find "$src" -name qt_attribution.json | sort)
  touch "$out/.done"
}
# A Qt source that build-qt.sh has unpacked and not yet removed serves as well.
unpacked=$(find -L "$ZUOHAO_WIN_CACHE" -maxdepth 2 -type d -name "qt6-base-${qt_version%-*}" 2>/dev/null |
  head -1)
if [ -n "${ZUOHAO_QT_SOURCE:-}" ]; then
  gather_qt_licences "$ZUOHAO_QT_SOURCE" "$qt_licences"
elif [ ! -f "$qt_licences/.done" ] && [ -n "$unpacked" ]; then
  gather_qt_licences "$unpacked" "$qt_licences"
elif [ ! -f "$qt_licences/.done" ]; then
  echo "==> Qt's licence files: fetching the qt6-base $qt_version source once" >&2
  work=$(mktemp -d)
  (cd "$work" && zuohao_fetch_source "qt6-base=$qt_version" >&2)
  gather_qt_licences "$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)" "$qt_licences"
  rm -rf "$work"
fi

mkdir -p "$dest/licenses"
cp "$root/LICENSE" "$dest/LICENSE.txt"
cp /usr/share/common-licenses/LGPL-3 "$dest/licenses/LGPL-3.txt"
cp /usr/share/common-licenses/GPL-3 "$dest/licenses/GPL-3.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$dest/licenses/gcc-runtime.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$dest/licenses/mingw-w64.txt"
rm -rf "$dest/licenses/qt" && cp -r "$qt_licences" "$dest/licenses/qt" && rm -f "$dest/licenses/qt/.done"

cat >"$dest/THIRD-PARTY.txt" <<EOF
zuohao for Windows: whose software is in this folder
=====================================================

zuohao.exe and zuohao-cli.exe: zuohao, under the MIT licence (LICENSE.txt).

Qt $qt_version: Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, Qt6Network.dll and the
plug-ins in platforms\\, styles\\, tls\\ and imageformats\\
  Copyright The Qt Company Ltd. and other contributors, used under the GNU Lesser General
  Public License version 3: licenses\\LGPL-3.txt, which adds to licenses\\GPL-3.txt.
  These DLLs are Debian's qt6-base source package, version $qt_version, built for
  64-bit Windows with mingw-w64 (GCC $gcc_version) without changes, configured with:
$qt_flags
  The complete source is Debian's qt6-base $qt_version:
    https://snapshot.debian.org/package/qt6-base/$qt_version/
    (on Debian 12: apt-get source qt6-base=$qt_version)
  zuohao.exe uses Qt only through these DLLs: you may replace them with your own build of
  Qt ${qt_version%%.*}.x made with the same compiler.
  The libraries that Qt bundles inside these DLLs (zlib, PCRE2, HarfBuzz, FreeType,
  libpng, libjpeg, double-conversion, md4c and others) have their licences in
  licenses\\qt\\, each folder with Qt's description of what it is and where it is used.

GCC runtime (libstdc++-6.dll, libgcc_s_seh-1.dll), GCC $gcc_version
  GNU General Public License version 3 with the GCC Runtime Library Exception, which
  allows these DLLs to ship with programs under any licence: licenses\\gcc-runtime.txt.

mingw-w64 runtime and winpthreads (libwinpthread-1.dll), mingw-w64 $mingw_version
  MIT-style and BSD-style licences: licenses\\mingw-w64.txt (winpthreads:
  "Files: mingw-w64-libraries/winpthreads/*").

SQLite $sqlite_version, built into zuohao.exe and zuohao-cli.exe from Debian's sqlite3
source: in the public domain (https://sqlite.org/copyright.html).
EOF
# Windows editors want CR LF.
for f in "$dest/LICENSE.txt" "$dest/THIRD-PARTY.txt"; do sed -i 's/\r*$/\r/' "$f"; done
