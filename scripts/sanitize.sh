#!/usr/bin/env bash
# The native tests under AddressSanitizer and UndefinedBehaviorSanitizer: builds the native
# program, its cores and the unit tests with both into build-sanitize/ (no Windows build) and
# runs the unit tests and every scenario natively. Run by hand; a few minutes.
#   scripts/sanitize.sh [ctest arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-sanitize"
"$root/scripts/setup-debian.sh"
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -DVIDEOOUT_WINDOWS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j2 >/dev/null
# What SDL and the X libraries keep until exit is theirs, not ours.
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1"
ctest --test-dir "$build" -L unit --output-on-failure "$@"
ctest --test-dir "$build" -R '^native_' -j2 --output-on-failure "$@"
