#!/usr/bin/env bash
# Runs a Windows build's tests under the Wine of the session it is started in
# (from scripts/with-wine.sh). Usage: scripts/wine-tests.sh BUILD_DIR [CTEST_ARGS...]
# Ends with one line that counts the tests and names the Wine, the build and
# the session's resolution; with DIRMIND_WINE_COUNTS set, the line is also
# added to that file.
#
# Wine now and then fails to start a test's process at all ("ShellExecuteEx
# failed", before any test code runs): a failed test whose output holds no
# line of the test program's own gets one more run, and the log names it. Any
# other failure stands.
set -uo pipefail
dir=$1; shift

# The tests failed in the last run, if Wine could not start every one of them.
unstarted() {
  local name failed=()
  while IFS= read -r name; do
    if ! awk -v name="$name" '
        $0 ~ /^[0-9]+\/[0-9]+ Test: / && substr($0, index($0, "Test: ") + 6) == name { inside = 1; next }
        inside && /^<end of output>$/ { exit }
        inside && /^\[==========\]/ { started = 1 }
        END { exit started ? 0 : 1 }' "$dir/Testing/Temporary/LastTest.log"; then
      failed+=("$name")
    else
      return 1
    fi
  done < <(sed 's/^[0-9]*://' "$dir/Testing/Temporary/LastTestsFailed.log")
  [ "${#failed[@]}" -gt 0 ] && printf '%s\n' "${failed[@]}"
}

out=$(mktemp /tmp/dirmind-ctest.XXXXXX)
trap 'rm -f "$out"' EXIT
ctest --test-dir "$dir" --output-on-failure --no-tests=error "$@" | tee "$out"
status=${PIPESTATUS[0]}
if [ "$status" != 0 ] && failed=$(unstarted); then
  printf '== Wine could not start these tests; one more run: %s\n' "$(echo "$failed" | paste -sd ' ')"
  pattern=$(echo "$failed" | sed 's/[].*^$+?()|\\[]/\\&/g' | paste -sd '|')
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -R "^($pattern)\$"
  status=$?
fi

count=$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$out" | tail -n 1)
line="$(wine --version) (Debian $(cat /etc/debian_version)), $dir, ${DIRMIND_WINE_DPI:-96} dpi: ${count:-no} tests, $([ "$status" = 0 ] && echo passed || echo FAILED)"
echo "== $line"
[ -z "${DIRMIND_WINE_COUNTS:-}" ] || echo "$line" >> "$DIRMIND_WINE_COUNTS"
exit "$status"
