#!/usr/bin/env bash
# check-command-line.sh ZLM ZLM_BATCH VERSION
# Runs both programs with no display at all: a window that tried to open would
# fail or hang (and be stopped by the time limit) instead of answering.
set -uo pipefail
zlm=$1 batch=$2 version=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
ulimit -c 0

run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$@" 2>"$errors"; }

for program in "$zlm" "$batch"; do
  out=$(run "$program" --version); status=$?
  [ $status -eq 0 ] || fail "$program --version exited $status: $(cat "$errors")"
  [ "$out" = "zlm $version" ] || fail "$program --version printed '$out', not 'zlm $version'"
done

out=$(run "$zlm" --help); status=$?
[ $status -eq 0 ] || fail "zlm --help exited $status: $(cat "$errors")"
for phrase in "Usage: zlm [PROFILE]" "--help" "--version"; do
  grep -qF -- "$phrase" <<<"$out" || fail "zlm --help does not mention '$phrase': $out"
done
# A profile named like the option is opened, not answered; without a display that fails.
run "$zlm" -- --version >/dev/null && fail "zlm -- --version answered instead of opening a window"

[ $failures -eq 0 ] && echo "zlm and zlm-batch answer --version and --help without a display"
exit $((failures > 0))
