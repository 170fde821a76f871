#!/usr/bin/env bash
# run_as_user.sh PROGRAM FILTER: runs the GoogleTest cases FILTER of PROGRAM as a user whom file
# modes bind. Tests run as root in CI, and a 0444 file is writable to root; so as root the cases
# run as "nobody" (setpriv), otherwise as the user running this. Exit 77 (skipped, with the
# reason) where no such user can run them.
set -euo pipefail
program=$1 filter=$2

if [ "$(id -u)" -ne 0 ]; then
    exec "$program" --gtest_filter="$filter"
fi
user=nobody
if ! id -u "$user" >/dev/null 2>&1; then
    echo "skipped: there is no user '$user' to run the read-only cases as"
    exit 77
fi
as_user=(setpriv --reuid="$(id -u "$user")" --regid="$(id -g "$user")" --clear-groups)
if ! "${as_user[@]}" test -x "$program"; then
    echo "skipped: '$user' cannot run $program (a folder above it is closed to other users)"
    exit 77
fi
# A home, temporary and runtime folder of the user's own.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
chown "$user" "$home"

status=0
output=$("${as_user[@]}" env HOME="$home" TMPDIR="$home" XDG_RUNTIME_DIR="$home" \
    "$program" --gtest_filter="$filter" 2>&1) || status=$?
echo "$output"
# As that user the cases must run, not skip; and the filter must have found some.
if grep -q '^\[  SKIPPED \]' <<<"$output" || ! grep -q '^\[  PASSED  \] [1-9]' <<<"$output"; then
    echo "FAIL: the cases did not all run as '$user'"
    exit 1
fi
exit $status
