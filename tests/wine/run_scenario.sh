#!/bin/bash
# Runs MAIN.exe with the test core under Wine for one scenario and judges the run.
# Usage: run_scenario.sh STATE_DIR WINEPREFIX TESTBIN_DIR NAME [ARG...]
# Runs MAIN.exe ARG..., where an ARG of EMPTY stands for an empty argument. Passes when the program exits with
# code 0, the core's log ends with PASS and has no FAIL line, and stdout opens as expected (and
# holds the lines of the file named by EXPECT_STDOUT, when set).
set -u
STATE_DIR=$1
WINEPREFIX=$2
TESTBIN=$3
NAME=$4
shift 4
ARGS=()
for arg in "$@"; do
    if [ "$arg" = EMPTY ]; then
        ARGS+=("")
    else
        ARGS+=("$arg")
    fi
done
. "$(dirname "$0")/wine_env.sh"

LOG="$STATE_DIR/$NAME.log"
OUT="$STATE_DIR/$NAME.stdout"
ERR="$STATE_DIR/$NAME.stderr"
RUN_TIMEOUT=40

if [ ! -f "$STATE_DIR/display" ]; then
    echo "no virtual display: the setup fixture did not run"
    exit 1
fi
for file in MAIN.exe KERNEL.dll; do
    if [ ! -f "$TESTBIN/$file" ]; then
        echo "missing $TESTBIN/$file: build the windows target first"
        exit 1
    fi
done

rm -f "$LOG" "$LOG".*.stdout "$OUT" "$ERR"
# The core opens the log through Wine's Z: drive, which maps the Unix root.
export TESTCORE_LOG="Z:$LOG"
cd "$TESTBIN" || exit 1
timeout -k 5 $RUN_TIMEOUT wine MAIN.exe "${ARGS[@]}" </dev/null >"$OUT" 2>"$ERR"
CODE=$?

problems=()
if [ $CODE -eq 124 ] || [ $CODE -eq 137 ]; then
    problems+=("MAIN.exe did not end within $RUN_TIMEOUT s")
elif [ $CODE -ne 0 ]; then
    # A crash ends the process with its exception code, of which the shell keeps the low byte
    # (5 for an access violation).
    problems+=("MAIN.exe exited with code $CODE, expected 0 (see stderr for a crash)")
fi
if [ ! -s "$LOG" ]; then
    problems+=("the test core wrote no log")
else
    if grep -q 'FAIL' "$LOG"; then
        problems+=("the log has failed checks")
    fi
    if [ "$(tail -n 1 "$LOG")" != "PASS" ]; then
        problems+=("the log does not end with the verdict PASS")
    fi
fi
FIRST_LINE=$(head -n 1 "$OUT" | tr -d '\r')
if [ "$FIRST_LINE" != "Initializing window..." ]; then
    problems+=("stdout's first line is \"$FIRST_LINE\", expected \"Initializing window...\"")
fi

# Optional: every line of the file named by EXPECT_STDOUT (but # comments), up to a closing $
# that keeps trailing spaces visible, must be a whole line of stdout.
if [ -n "${EXPECT_STDOUT:-}" ]; then
    while IFS= read -r want; do
        case "$want" in '#'* | '') continue ;; esac
        want=${want%\$}
        if ! tr -d '\r' <"$OUT" | grep -qxF -- "$want"; then
            problems+=("stdout lacks the line \"$want\"")
        fi
    done <"$EXPECT_STDOUT"
fi

if [ ${#problems[@]} -eq 0 ]; then
    grep -c '^ok ' "$LOG" | sed 's/$/ checks passed/'
    echo "scenario $NAME: PASS"
    exit 0
fi
echo "scenario $NAME: FAIL"
printf '  %s\n' "${problems[@]}"
echo "---- core log ($LOG)"
cat "$LOG" 2>/dev/null
echo "---- stdout"
cat "$OUT"
echo "---- stderr"
tail -n 40 "$ERR"
exit 1
