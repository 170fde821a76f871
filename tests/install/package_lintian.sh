#!/usr/bin/env bash
# package_lintian.sh BUILD_DIR CPACK: makes the build's Debian package as `cpack -G DEB` does (into
# a temporary folder, so that the build folder keeps only what its user made there) and runs
# lintian on it. Any error or warning fails; one that cannot be helped is overridden in the
# package (share/lintian/overrides/quorvane) with a line that says why.
set -uo pipefail
build=$1
cpack=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

command -v lintian >/dev/null || {
    echo "FAIL: lintian is not installed (tools/install-deps.sh installs it)"
    exit 1
}
(cd "$build" && "$cpack" -G DEB -B "$work") >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    echo "FAIL: cpack could not make the package"
    exit 1
}
deb=$(find "$work" -maxdepth 1 -name 'quorvane_*.deb')
[ -f "$deb" ] || {
    echo "FAIL: cpack made no quorvane_*.deb"
    exit 1
}
status=0
for field in "Section: science" "Priority: optional"; do
    dpkg-deb -f "$deb" | grep -qx "$field" || {
        echo "FAIL: the package's control lacks \"$field\""
        status=1
    }
done
# Information tags are shown but do not fail (the programs' messages keep their own spelling).
lintian --fail-on error,warning --display-info "$deb" 2>&1 | grep -v '^running with root privileges'
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
[ $status -eq 0 ] && echo "package lintian: $(basename "$deb") passed"
exit $status
