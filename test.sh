#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds both targets and runs every test (native and under Wine).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-debian.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2 "$@"
