#!/usr/bin/env bash
# Builds a static Qt for 64-bit Windows from Debian's own qt6-base source, the same version as
# the host tools (moc, rcc) in /usr, and prints the folder it is installed in.
# The result is cached in ~/.cache/fgd-composer/ (FGD_QT_CACHE to move it), keyed by the source
# version, the configure options and the toolchain file. It is built in a temporary folder and
# moved into place only when complete, so an interrupted build never leaves a half cache.
# Sourced setup has already installed mingw-w64, dpkg-dev and the host Qt (scripts/windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
options=(
    -static -static-runtime -release -optimize-size
    -xplatform win32-g++ -qt-host-path /usr
    -nomake examples -nomake tests
    -no-opengl -no-dbus -no-icu -no-zstd -no-feature-sql -no-feature-network
    -no-feature-printsupport -no-feature-concurrent -no-feature-xml
    # Debian's source has no src/3rdparty/wintab, which tablet events need.
    -no-feature-tabletevent
    -qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz -qt-freetype -qt-doubleconversion -no-libjpeg
)
key=$( (echo "$version" "${options[*]}" && cat "$toolchain") | sha256sum | cut -c1-12)
cache=${FGD_QT_CACHE:-$HOME/.cache/fgd-composer}
prefix=$cache/qt-$version-windows-x64-$key
if [[ -f $prefix/lib/cmake/Qt6/qt.toolchain.cmake ]]; then
    echo "$prefix"
    exit 0
fi

mkdir -p "$cache"
work=$(mktemp -d "$cache/build.XXXXXX")
trap 'rm -rf "$work"' EXIT
log=$work/log.txt
echo "Building static Qt $version for Windows (about half an hour on 2 cores; log: $log)" >&2

# The source package, fetched with a private list of source archives: the system's apt
# configuration is left as it is.
apt=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/nonexistent
    -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/apt-cache")
echo "deb-src http://deb.debian.org/debian bookworm main" >"$work/sources.list"
mkdir -p "$work/lists/partial" "$work/apt-cache/archives/partial"
(
    cd "$work"
    apt-get "${apt[@]}" update -qq
    apt-get "${apt[@]}" source --download-only "qt6-base=$version"
    dpkg-source --no-check -x qt6-base_*.dsc src
) >>"$log" 2>&1 || { tail -n 30 "$log" >&2; exit 1; }

# Configured for the final folder, installed into a staging copy of it, then moved in place.
mkdir -p "$work/build"
(
    cd "$work/build"
    ../src/configure -prefix "$prefix" "${options[@]}" -- \
        -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    cmake --build . --parallel
    DESTDIR=$work/stage cmake --install .
) >>"$log" 2>&1 || { tail -n 40 "$log" >&2; trap - EXIT; echo "kept: $work" >&2; exit 1; }
mv "$work/stage$prefix" "$prefix"
echo "$prefix"
