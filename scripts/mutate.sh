#!/usr/bin/env bash
# Plants each fault of scripts/mutants/ (a small patch against the front-end) in a scratch copy
# of the tree, builds it natively and runs the native tests (unit tests and the native
# scenarios), then prints whether the suite caught it. Run by hand, from a tree whose changes
# are committed or at least on disk.
#   scripts/mutate.sh [part of a mutant's name (a glob)...]
# Kept fast without running less: the scratch copy and its build stay between runs (only files
# whose contents changed are copied, so the build is incremental), only what the tests use is
# built (no benchmarks), the unit test programs run whole and stop at their first failure, and
# the scenarios run only once the unit tests have passed, stopping at the first failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# One scratch copy per tree: two trees' runs must not build over each other.
scratch=${MUTATE_DIR:-/tmp/video-out-mutate-$(printf %s "$root" | cksum | cut -d' ' -f1)}
tree=$scratch/tree build=$scratch/build
mkdir -p "$tree"

# The tree's files into the scratch copy: changed ones only, with a fresh time so they rebuild.
(cd "$root" && git ls-files -z) | while IFS= read -r -d '' file; do
  [ -f "$root/$file" ] || continue
  cmp -s "$root/$file" "$tree/$file" && continue
  mkdir -p "$(dirname "$tree/$file")" && cp "$root/$file" "$tree/$file"
done
cd "$tree" || exit 1

echo "mutate: building the unchanged tree in $scratch..." >&2
generator=()
command -v ninja >/dev/null && [ ! -f "$build/Makefile" ] && generator=(-G Ninja)
cmake -S . -B "$build" "${generator[@]}" -DVIDEOOUT_WINDOWS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || { echo "mutate: cmake fails" >&2; exit 1; }
# Every target but the benchmarks, which no test runs.
if [ -f "$build/build.ninja" ]; then
  mapfile -t targets < <(ninja -C "$build" -t targets all |
    sed -n 's/^\([A-Za-z0-9_]*\): phony$/\1/p' |
    grep -vxE 'all|clean|help|test|install.*|list_install_components|edit_cache|rebuild_cache|.*bench.*')
else
  targets=(all)
fi
build() { cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null 2>&1; }
build || { echo "mutate: the unchanged tree does not build" >&2; exit 1; }

# The unit test programs (whatever ctest lists under the label unit), each run whole.
mapfile -t units < <(ctest --test-dir "$build" -L unit --show-only=json-v1 |
  python3 -c 'import json, sys
print("\n".join(sorted({t["command"][0] for t in json.load(sys.stdin)["tests"]})))')
[ ${#units[@]} -gt 0 ] || { echo "mutate: no unit tests" >&2; exit 1; }
suite() {
  for unit in "${units[@]}"; do
    (cd "$(dirname "$unit")" && "$unit" --gtest_fail_fast --gtest_brief=1 >/dev/null 2>&1) ||
      return 1
  done
  ctest --test-dir "$build" -R '^native_' -j4 --no-tests=error --stop-on-failure >/dev/null 2>&1
}
suite || { echo "mutate: the suite fails on the unchanged tree" >&2; exit 1; }

caught=0 missed=0 start=$SECONDS
[ $# -gt 0 ] || set -- ""
for patch in "$root"/scripts/mutants/*.patch; do
  name=$(basename "$patch" .patch)
  wanted=false
  for part in "$@"; do [[ $name == *$part* ]] && wanted=true; done
  $wanted || continue
  patch -s -p1 <"$patch" || { echo "$name: does not apply"; missed=$((missed + 1)); continue; }
  began=$SECONDS
  if ! build; then
    result="caught (does not build)"
  elif suite; then
    result="MISSED"
  else
    result=caught
  fi
  patch -s -R -p1 <"$patch"
  [ "$result" = MISSED ] && missed=$((missed + 1)) || caught=$((caught + 1))
  echo "$name: $result ($((SECONDS - began)) s)"
done
echo "mutate: $caught caught, $missed missed in $((SECONDS - start)) s"
[ $missed -eq 0 ]
