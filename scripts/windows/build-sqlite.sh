#!/usr/bin/env bash
# Builds SQLite for 64-bit Windows (a static library) from Debian's own sqlite3 source
# package, once, into a cache folder keyed on the package version and the compile flags.
# The amalgamation sqlite3.c is made on the host (it needs tclsh), then cross-compiled.
# Prints the install prefix (include/, lib/libsqlite3.a) on its last line.
set -euo pipefail
source "$(dirname "$0")/common.sh"

version=$(dpkg-query -W -f='${Version}' libsqlite3-dev)
# The defaults of the Linux library the store is tested with, thread-safe.
flags=(-O2 -DSQLITE_THREADSAFE=1)
key=$(printf '%s\n' "$version" "${flags[@]}" | sha256sum | cut -c1-12)
prefix="$ZUOHAO_WIN_CACHE/sqlite-${version//+/_}-$key"
if [ -f "$prefix/.done" ]; then
  echo "$prefix"
  exit 0
fi

echo "==> building SQLite $version for Windows once into $prefix" >&2
work="$ZUOHAO_WIN_CACHE/sqlite-src-$key"
rm -rf "$work" && mkdir -p "$work" && cd "$work"
zuohao_fetch_source "sqlite3=$version" >&2
src=$(find . -maxdepth 1 -type d -name 'sqlite3-*' | head -1)
mkdir host && cd host
"../$src/configure" --disable-tcl >/dev/null
make -s sqlite3.c >&2
x86_64-w64-mingw32-gcc-posix "${flags[@]}" -c sqlite3.c -o sqlite3.o
mkdir -p "$prefix/include" "$prefix/lib"
x86_64-w64-mingw32-ar rcs "$prefix/lib/libsqlite3.a" sqlite3.o
cp sqlite3.h sqlite3ext.h "$prefix/include/"
touch "$prefix/.done"
cd / && rm -rf "$work"
echo "$prefix"
