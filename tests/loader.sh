#!/usr/bin/env bash
# A core that lacks one function: the program must not start. The loader resolves every
# function of the core before main, so it ends the program at once, with its one line naming
# the function and a non-zero status, and nothing of the program's own is printed.
#   tests/loader.sh PROGRAM CORE FUNCTION
set -u
. "$(dirname "$0")/common.sh"
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
cp "$1" "$work/video-out" && cp "$2" "$work/libkernel.so" && cd "$work" || exit 1
failures=()
# Should the program start after all, it runs until the timeout ends that hang.
SDL_VIDEODRIVER=offscreen ends_with_line "the loader's line naming the function" \
    "symbol lookup error: .*undefined symbol: $3\$" ./video-out
[ -s ended.out ] && failures+=("the program printed \"$(head -c 300 ended.out)\": it started")
[ ${#failures[@]} -eq 0 ] && echo "a core lacking $3: PASS" && exit 0
printf 'FAIL %s\n' "${failures[@]}"
exit 1
