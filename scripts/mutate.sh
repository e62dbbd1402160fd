#!/usr/bin/env bash
# Plants each fault of scripts/mutants/ (a small patch against the front-end) in a scratch copy
# of the tree, builds it natively and runs the native tests (unit tests and the native
# scenarios), then prints whether the suite caught it. Run by hand, from a tree whose changes
# are committed or at least on disk; takes about half a minute a fault.
#   scripts/mutate.sh [part of a mutant's name]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=${MUTATE_DIR:-/tmp/video-out-mutate}
rm -rf "$scratch/tree"
mkdir -p "$scratch/tree"
(cd "$root" && git ls-files -z | xargs -0 cp --parents -t "$scratch/tree")
cd "$scratch/tree" || exit 1
echo "mutate: building the unchanged tree in $scratch..." >&2
cmake -S . -B "$scratch/build" -DVIDEOOUT_WINDOWS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
  cmake --build "$scratch/build" -j2 >/dev/null || { echo "mutate: the unchanged tree does not build" >&2; exit 1; }
suite() { ctest --test-dir "$scratch/build" -L unit --no-tests=error --stop-on-failure >/dev/null 2>&1 &&
          ctest --test-dir "$scratch/build" -R '^native_' -j2 --stop-on-failure >/dev/null 2>&1; }
suite || { echo "mutate: the suite fails on the unchanged tree" >&2; exit 1; }

caught=0 missed=0
for patch in "$root"/scripts/mutants/*${1:-}*.patch; do
  name=$(basename "$patch" .patch)
  patch -s -p1 <"$patch" || { echo "$name: does not apply"; missed=$((missed + 1)); continue; }
  if ! cmake --build "$scratch/build" -j2 >/dev/null 2>&1; then
    result="caught (does not build)"
  elif suite; then
    result="MISSED"
  else
    result=caught
  fi
  patch -s -R -p1 <"$patch"
  [ "$result" = MISSED ] && missed=$((missed + 1)) || caught=$((caught + 1))
  echo "$name: $result"
done
echo "mutate: $caught caught, $missed missed"
[ $missed -eq 0 ]
