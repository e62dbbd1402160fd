#!/usr/bin/env bash
# Builds, then makes the release archives in dist/: video-out-VERSION-win32.zip (MAIN.exe, the
# stand-in KERNEL.dll, README.txt) and, where the native build exists,
# video-out-VERSION-linux-x86_64.tar.gz (the program, the stand-in core, README.txt).
#   scripts/package.sh [--no-build] [build folder (default build/)] [dist folder (default dist/)]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_first=1
[ "${1:-}" = --no-build ] && { build_first=0; shift; }
build=${1:-$root/build}
dist=${2:-$root/dist}
if [ $build_first = 1 ]; then
  "$root/scripts/setup-debian.sh"
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j2 >/dev/null
fi
mkdir -p "$dist"
build=$(cd "$build" && pwd)
dist=$(cd "$dist" && pwd)
version=$(sed -n 's/^project(VideoOutFrontEnd VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT

# readme TEMPLATE MODE OUT: the text with the version and render mode filled in.
readme() {
  local what
  case $2 in
  0 | 1) what="the frame is fetched but not drawn" ;;
  2 | 3) what="graphics and text combined through the priority mask with MaskBlt" ;;
  4 | 5) what="graphics and text combined through the mask with plain blits" ;;
  6 | 7) what="text OR-ed over graphics, without the mask" ;;
  8 | 9) what="the mask applied with AND and OR blits" ;;
  *) what="a tiled placeholder instead of the core's display" ;;
  esac
  sed -e "s/@VERSION@/$version/" -e "s/@RENDER_MODE@/$2 ($what)/" "$1" >"$3"
}

win="$build/win/bin"
[ -f "$win/MAIN.exe" ] && [ -f "$win/KERNEL.dll" ] ||
  { echo "package: $win holds no MAIN.exe and KERNEL.dll: build first" >&2; exit 1; }
name=video-out-$version-win32
mkdir "$staging/$name"
cp "$win/MAIN.exe" "$win/KERNEL.dll" "$staging/$name/"
# Without the debugging information the build carries.
i686-w64-mingw32-strip "$staging/$name/MAIN.exe" "$staging/$name/KERNEL.dll" 2>/dev/null || true
mode=$(sed -n 's/^RENDER_MODE:STRING=//p' "$build/win/CMakeCache.txt")
readme "$root/docs/README-win32.txt" "${mode:-3}" "$staging/$name/README.txt"
sed -i 's/$/\r/' "$staging/$name/README.txt" # for Notepad
rm -f "$dist/$name.zip"
(cd "$staging" && cmake -E tar cf "$dist/$name.zip" --format=zip "$name")
echo "package: $dist/$name.zip"

native="$build/native/bin"
[ -x "$native/video-out" ] || exit 0
name=video-out-$version-linux-x86_64
mkdir "$staging/$name"
cp "$native/video-out" "$native/libkernel.so" "$staging/$name/"
strip "$staging/$name/video-out" "$staging/$name/libkernel.so" 2>/dev/null || true
mode=$(sed -n 's/^RENDER_MODE:STRING=//p' "$build/CMakeCache.txt")
readme "$root/docs/README-linux.txt" "${mode:-3}" "$staging/$name/README.txt"
rm -f "$dist/$name.tar.gz"
tar -C "$staging" -czf "$dist/$name.tar.gz" "$name"
echo "package: $dist/$name.tar.gz"
