#!/usr/bin/env bash
# Fuzzes the argument splitter with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer (clang 14, Debian 12's libclang-rt-14-dev), comparing every line
# with the model of the splitting rules. Runs by hand, not in the tests.
#   scripts/fuzz-args.sh [runs (default 10000000)]
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/fuzz-args
mkdir -p "$out/corpus"
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I. \
  scripts/fuzz_args.cpp shell/main_args.cpp -o "$out/fuzz_args"
# Seeds: the lines the unit tests know.
printf '\0\0main.exe  -a   x' >"$out/corpus/spaces"
printf '\0\0"C:\\Program Files\\main.exe" -x "" " " a"b c"' >"$out/corpus/quotes"
printf '\x80\x05main.exe "open to the end' >"$out/corpus/open"
"$out/fuzz_args" -runs="${1:-10000000}" -max_len=256 -print_final_stats=1 "$out/corpus"
