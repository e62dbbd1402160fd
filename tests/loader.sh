#!/usr/bin/env bash
# A core that lacks one function: the program must not start. The loader resolves every
# function of the core before main, so it ends the program at once, with its one line naming
# the function and a non-zero status, and nothing of the program's own is printed.
#   tests/loader.sh PROGRAM CORE FUNCTION
set -u
program=$1 core=$2 function=$3
dir=$(mktemp -d) && trap 'rm -rf "$dir"' EXIT
cp "$program" "$dir/video-out" && cp "$core" "$dir/libkernel.so" || exit 1
# Should the program start after all, it runs until killed: the timeout only ends that hang.
(cd "$dir" && SDL_VIDEODRIVER=offscreen timeout 30 ./video-out) >"$dir/stdout" 2>"$dir/stderr" </dev/null
status=$?
echo "exit status $status; stderr: $(head -c 300 "$dir/stderr")"
failures=0
check() { "${@:2}" || { echo "FAIL $1"; failures=$((failures + 1)); }; }
check "a non-zero exit from the loader (not the timeout)" test $status -ne 0 -a $status -ne 124
check "one line on stderr" test "$(wc -l <"$dir/stderr")" -eq 1
check "the loader's line names the function" \
  grep -q "symbol lookup error: .*undefined symbol: $function\$" "$dir/stderr"
check "the program printed nothing: it never started" test ! -s "$dir/stdout"
[ $failures -eq 0 ] && echo PASS
