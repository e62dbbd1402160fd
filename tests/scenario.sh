#!/bin/bash
# Runs MAIN.exe under Wine (the virtual desktop's prefix when WINE_DESKTOP=1) or the native
# program (SDL's offscreen driver) in PROGRAM_DIR with the scripted core for one scenario:
#   scenario.sh wine|native STATE_DIR PROGRAM_DIR NAME [ARG...]   (an ARG EMPTY stands for "")
# Passes when it exits with 0, the log ends with PASS and holds no FAIL, and stdout opens with
# "Initializing window..." and holds EXPECT_STDOUT's lines (to a closing $; after !: nowhere).
# A run meant to fail exits with EXPECT_EXIT instead (its log is not judged) and writes the
# line EXPECT_STDERR on stderr.
set -u
PLATFORM=$1 STATE_DIR=$2 PROGRAM_DIR=$3 NAME=$4
shift 4
ARGS=()
for arg in "$@"; do [ "$arg" = EMPTY ] && ARGS+=("") || ARGS+=("$arg"); done
LOG="$STATE_DIR/$NAME.log" OUT="$STATE_DIR/$NAME.stdout" ERR="$STATE_DIR/$NAME.stderr"
mkdir -p "$STATE_DIR"
rm -f "$LOG" "$OUT" "$ERR" "$STATE_DIR/$NAME.digests"
cd "$PROGRAM_DIR" || exit 1

if [ "$PLATFORM" = wine ]; then
    . "$(dirname "$0")/common.sh"
    wine_env
    [ -f "$STATE_DIR/display" ] || { echo "no virtual display: the setup fixture did not run"; exit 1; }
    export WINEPREFIX="$STATE_DIR/prefix${WINE_DESKTOP:+-desktop}"
    export TESTCORE_LOG="Z:$LOG" # Wine's Z: drive maps the Unix root
    timeout -k 5 60 "$WINE" MAIN.exe "${ARGS[@]}" </dev/null >"$OUT" 2>"$ERR"
else
    export SDL_VIDEODRIVER=offscreen TESTCORE_LOG="$LOG"
    ulimit -c 0 # a crash meant to happen leaves no core file
    timeout -k 5 60 ./video-out "${ARGS[@]}" </dev/null >"$OUT" 2>"$ERR"
fi
CODE=$?
grep '^digest ' "$LOG" 2>/dev/null | sort >"$STATE_DIR/$NAME.digests" # what same_NAME compares

problems=()
case $CODE in
"${EXPECT_EXIT:-0}") ;;
124 | 137) problems+=("the program did not end within 60 s") ;;
*) problems+=("the program exited with code $CODE, expected ${EXPECT_EXIT:-0} (see stderr)") ;;
esac
if [ -z "${EXPECT_EXIT:-}" ]; then
    [ -s "$LOG" ] || problems+=("the scripted core wrote no log")
    grep -q '^FAIL' "$LOG" 2>/dev/null && problems+=("the log has failed checks")
    [ "$(tail -n 1 "$LOG" 2>/dev/null)" = PASS ] || problems+=("the log does not end with PASS")
fi
[ -z "${EXPECT_STDERR:-}" ] || tr -d '\r' <"$ERR" | grep -qxF -- "$EXPECT_STDERR" ||
    problems+=("stderr lacks the line \"$EXPECT_STDERR\"")
first=$(head -n 1 "$OUT" | tr -d '\r')
[ "$first" = "Initializing window..." ] ||
    problems+=("stdout's first line is \"$first\", expected \"Initializing window...\"")
while IFS= read -r want; do
    case "$want" in
    '#'* | '') ;;
    '!'*) grep -qF -- "${want#!}" "$OUT" && problems+=("stdout holds \"${want#!}\"") ;;
    *) tr -d '\r' <"$OUT" | grep -qxF -- "${want%\$}" || problems+=("stdout lacks the line \"$want\"") ;;
    esac
done < <(cat "${EXPECT_STDOUT:-/dev/null}")

[ ${#problems[@]} -eq 0 ] && echo "$(grep -c '^ok ' "$LOG") checks passed; $NAME on $PLATFORM: PASS" && exit 0
echo "scenario $NAME on $PLATFORM: FAIL"
printf '  %s\n' "${problems[@]}"
echo "---- core log ($LOG)" && cat "$LOG" 2>/dev/null
echo "---- stdout" && cat "$OUT"
echo "---- stderr" && tail -n 40 "$ERR"
exit 1
