#!/usr/bin/env bash
# install_check.sh BUILD_DIR: installs the build into a temporary prefix, as the Debian package
# lays it out under /usr, and checks what a desktop and a terminal need of it: the files, the
# desktop entry (desktop-file-validate), the MIME types (update-mime-database reads them), the
# installed programs running from the prefix, and the man page showing every command and option
# of the usage text.
set -uo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
    cat "$work/install.log"
    exit 1
}

for file in bin/quorvane bin/quorvane-cli share/applications/quorvane.desktop \
    share/icons/hicolor/scalable/apps/quorvane.svg share/mime/packages/quorvane.xml \
    share/man/man1/quorvane-cli.1 share/man/man1/quorvane.1 share/doc/quorvane/README.md; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
done
for program in quorvane quorvane-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
    # Installed programs must not look for libraries in the build folder.
    if readelf -d "$prefix/bin/$program" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
        fail "bin/$program keeps a library path into the build folder"
    fi
done

desktop=$prefix/share/applications/quorvane.desktop
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
grep -qx 'Exec=quorvane %f' "$desktop" || fail "the desktop entry does not open a file with quorvane"
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/quorvane.svg" || fail "the icon is no XML"

# The MIME XML as a desktop reads it: update-mime-database compiles it into globs and subclasses.
mime=$prefix/share/mime
xmllint --noout "$mime/packages/quorvane.xml" || fail "the MIME XML is not well-formed"
update-mime-database "$mime" || fail "update-mime-database refused the MIME XML"
grep -q 'application/x-quorvane-traffic:\*\.traffic' "$mime/globs2" || fail "no glob for .traffic"
grep -q 'application/x-quorvane-station:\*\.station' "$mime/globs2" || fail "no glob for .station"
grep -qx 'application/x-quorvane-traffic application/zip' "$mime/subclasses" ||
    fail ".traffic is not a sub-class of application/zip"
for type in application/x-quorvane-traffic application/x-quorvane-station; do
    grep -q "MimeType=.*$type;" "$desktop" || fail "the desktop entry does not open $type"
done

# The installed programs run from the prefix.
cli=$prefix/bin/quorvane-cli
"$cli" --help >"$work/help.txt" || fail "quorvane-cli --help failed"
grep -q '^  quorvane-cli build ARCHIVE' "$work/help.txt" || fail "quorvane-cli --help shows no usage"
version=$(QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$prefix/bin/quorvane" --version 2>/dev/null)
[ "$version" = "Quorvane 1.4" ] || fail "quorvane --version printed '$version'"

# No lists beside /usr/bin: an installed quorvane-cli reads them from beside the archive.
"$cli" sample "$work/day" >/dev/null || fail "quorvane-cli sample failed"
"$cli" build "$work/day/sample.traffic" --log "$work/build.log" >/dev/null ||
    fail "the installed quorvane-cli cannot build a day with its lists beside it"
grep -q "^No VURSta2Det.list beside the program: definition lists read from $work/day" \
    "$work/build.log" || fail "the build's log does not say where the lists came from"

# man -l shows the page, with every command and option of the usage text.
MANWIDTH=100 man -l "$prefix/share/man/man1/quorvane-cli.1" >"$work/man.txt" 2>"$work/man.err" ||
    fail "man -l cannot show quorvane-cli.1: $(cat "$work/man.err")"
grep -q '^NAME' "$work/man.txt" || fail "the man page shows no NAME section"
for command in $(sed -n 's/^  quorvane-cli \([a-z]*\) .*/\1/p' "$work/help.txt"); do
    grep -q "quorvane-cli $command" "$work/man.txt" || fail "the man page lacks the command $command"
done
for option in $(grep -o -- '--[a-z][a-z-]*' "$work/help.txt" | sort -u); do
    grep -q -- "$option" "$work/man.txt" || fail "the man page lacks the option $option"
done
man -l "$prefix/share/man/man1/quorvane.1" >/dev/null 2>&1 || fail "man -l cannot show quorvane.1"

[ $status -eq 0 ] && echo "install check: passed"
exit $status
