#!/usr/bin/env bash
# install_check.sh BUILD_DIR: installs the build into a temporary prefix, as the Debian package
# lays it out under /usr, and checks what a desktop and a terminal need of it: the files, the
# desktop entry (desktop-file-validate), the MIME types (update-mime-database reads them), the
# AppStream metainfo (appstreamcli validate), the installed programs running from the prefix
# (--help and --version without a display), the man pages showing every command and option of
# the usage text, and the shell completion (completion_check.sh).
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

metainfo=share/metainfo/org.example.quorvane.metainfo.xml
for file in bin/quorvane bin/quorvane-cli share/applications/quorvane.desktop \
    share/icons/hicolor/scalable/apps/quorvane.svg share/mime/packages/quorvane.xml "$metainfo" \
    share/man/man1/quorvane-cli.1.gz share/man/man1/quorvane.1.gz \
    share/bash-completion/completions/quorvane-cli share/doc/quorvane/README.md \
    share/doc/quorvane/copyright share/doc/quorvane/changelog.gz; do
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

# The installed programs run from the prefix; the window's --help and --version need no
# display.
cli=$prefix/bin/quorvane-cli
"$cli" --help >"$work/help.txt" || fail "quorvane-cli --help failed"
grep -q '^  quorvane-cli build ARCHIVE' "$work/help.txt" || fail "quorvane-cli --help shows no usage"
version=$("$cli" --version)
[ "$version" = "quorvane-cli 1.4" ] || fail "quorvane-cli --version printed '$version'"
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ASAN_OPTIONS=detect_leaks=0)
version=$("${no_display[@]}" "$prefix/bin/quorvane" --version 2>"$work/quorvane.err")
[ "$version" = "Quorvane 1.4" ] || fail "quorvane --version printed '$version' $(cat "$work/quorvane.err")"
for help in --help -h; do
    "${no_display[@]}" "$prefix/bin/quorvane" $help >"$work/window-help.txt" 2>&1 ||
        fail "quorvane $help failed: $(cat "$work/window-help.txt")"
    grep -q '^usage: quorvane \[FILE\]' "$work/window-help.txt" || fail "quorvane $help shows no usage"
done

# The AppStream metainfo validates (offline: its pictures are on the homepage), launches the
# desktop entry, opens its MIME types, shows the README's pictures and names the version as its
# newest release, as does the changelog.
appstreamcli validate --no-net "$prefix/$metainfo" >"$work/appstream.txt" 2>&1 ||
    fail "the metainfo does not validate: $(cat "$work/appstream.txt")"
metainfo=$prefix/$metainfo
grep -q '<launchable type="desktop-id">quorvane.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch quorvane.desktop"
for type in application/x-quorvane-traffic application/x-quorvane-station; do
    grep -q "<mediatype>$type</mediatype>" "$metainfo" || fail "the metainfo lacks $type"
done
for picture in $(sed -n 's|.*<image[^>]*>https://[^<]*/\(docs/[^<]*\)</image>.*|\1|p' "$metainfo"); do
    grep -qF "($picture)" "$prefix/share/doc/quorvane/README.md" ||
        fail "the metainfo's screenshot $picture is none of the README's pictures"
done
newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -1)
[ "$newest" = "${version#Quorvane }" ] || fail "the metainfo's newest release is '$newest'"
logged=$(gzip -dc "$prefix/share/doc/quorvane/changelog.gz" | sed -n '1s/^quorvane (\([^)]*\)).*/\1/p')
[ "$logged" = "${version#Quorvane }" ] || fail "the changelog's newest entry is '$logged'"

# No lists beside /usr/bin: an installed quorvane-cli reads them from beside the archive.
"$cli" sample "$work/day" >/dev/null || fail "quorvane-cli sample failed"
"$cli" build "$work/day/sample.traffic" --log "$work/build.log" >/dev/null ||
    fail "the installed quorvane-cli cannot build a day with its lists beside it"
grep -q "^No VURSta2Det.list beside the program: definition lists read from $work/day" \
    "$work/build.log" || fail "the build's log does not say where the lists came from"

# man -l shows the compressed page, with every command and option of the usage text.
MANWIDTH=100 man -l "$prefix/share/man/man1/quorvane-cli.1.gz" >"$work/man.txt" 2>"$work/man.err" ||
    fail "man -l cannot show quorvane-cli.1.gz: $(cat "$work/man.err")"
grep -q '^NAME' "$work/man.txt" || fail "the man page shows no NAME section"
for command in $(sed -n 's/^  quorvane-cli \([a-z]*\) .*/\1/p' "$work/help.txt"); do
    grep -q "quorvane-cli $command" "$work/man.txt" || fail "the man page lacks the command $command"
done
for option in $(grep -o -- '--[a-z][a-z-]*' "$work/help.txt" | sort -u); do
    grep -q -- "$option" "$work/man.txt" || fail "the man page lacks the option $option"
done
MANWIDTH=100 man -l "$prefix/share/man/man1/quorvane.1.gz" >"$work/man-window.txt" 2>&1 ||
    fail "man -l cannot show quorvane.1.gz"
for option in --help --version; do
    grep -q -- "$option" "$work/man-window.txt" || fail "quorvane.1 lacks the option $option"
done

bash "$(dirname "$0")/completion_check.sh" "$prefix" "$work/help.txt" || fail "the completion check failed"

[ $status -eq 0 ] && echo "install check: passed"
exit $status
