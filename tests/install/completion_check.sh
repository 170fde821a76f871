#!/usr/bin/env bash
# completion_check.sh PREFIX HELP_TEXT: drives the installed bash completion of quorvane-cli as
# the shell does on <TAB> (COMP_WORDS, COMP_CWORD) and compares it with the usage text
# (`quorvane-cli --help`, in the file HELP_TEXT): every command and every option of a command's
# synopsis is offered, nothing else; the words of --kind, --interval and --unit are the usage
# text's; each argument offers the files it takes. Then bash-completion itself loads the file
# from PREFIX/share.
set -uo pipefail
prefix=$1
help=$(realpath "$2")
script=$prefix/share/bash-completion/completions/quorvane-cli
status=0
fail() {
    echo "FAIL: $*"
    status=1
}
# shellcheck source=/dev/null
source "$script" || {
    echo "FAIL: $script does not load"
    exit 1
}

# offered WORD...: what <TAB> offers after `quorvane-cli WORD...`, the last word being the one
# completed; one line each, sorted.
offered() {
    COMP_WORDS=(quorvane-cli "$@")
    COMP_CWORD=$#
    COMP_LINE=${COMP_WORDS[*]}
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _quorvane_cli
    ((${#COMPREPLY[@]} == 0)) || printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
}
# expect WANTED WORD...: <TAB> after the words offers exactly the lines of WANTED (any order).
expect() {
    local wanted
    wanted=$(printf '%s\n' "$1" | sed '/^$/d' | LC_ALL=C sort)
    shift
    local got
    got=$(offered "$@")
    [ "$got" = "$wanted" ] ||
        fail "quorvane-cli $* <TAB> offers [$(echo $got)], not [$(echo $wanted)]"
}
lines() { printf '%s\n' "$@"; }

# Each command's synopsis joined into one line ("build ARCHIVE [-o OUT.station] ...").
synopses=$(awk '
    /^  quorvane-cli [a-z]+( |$)/ { if (line != "") print line; line = substr($0, 16); next }
    /^   / && line != "" { line = line " " $0; next }
    { if (line != "") print line; line = "" }
    END { if (line != "") print line }' "$help")
[ -n "$synopses" ] || fail "no command synopsis in the usage text"

commands=$(printf '%s\n' "$synopses" | cut -d' ' -f1)
expect "$(lines $commands --help --version)" ""
expect "$(lines $(printf '%s\n' $commands | grep '^s'))" s
# What an option's value is as the synopsis writes it: none ("[--worst]"), the file that -o
# writes ("-o OUT.csv", "-o OUT.(png|svg|pdf)"); and what the first argument is.
value_of() { _quorvane_cli_value "$@"; }
while read -r command synopsis; do
    options=$(printf '%s\n' " $synopsis" | grep -oE -- '[[( ]-{1,2}[a-z][a-z-]*' | cut -c2- | sort -u)
    expect "$(lines $options --help)" "$command" -
    for option in $options; do
        if printf '%s\n' "$synopsis " | grep -qE -- "[[( ]$option[])| ]" &&
            ! printf '%s\n' "$synopsis " | grep -qE -- "[[( ]$option [^|]"; then
            [ "$(value_of "$command" "$option")" = flag ] ||
                fail "$command $option takes no value, but the completion expects one"
        else
            [ "$(value_of "$command" "$option")" != flag ] ||
                fail "$command $option takes a value, but the completion takes it for a flag"
        fi
    done
    written=$(printf '%s\n' "$synopsis" | sed -n 's/.*-o OUT\.(\?\([a-z|]*\).*/\1/p' | tr '|' ' ')
    [ -z "$written" ] || [ "$(value_of "$command" -o)" = "$written" ] ||
        fail "$command -o offers '$(value_of "$command" -o)' files, not '$written'"
    case ${synopsis%% *} in
    ARCHIVE) wanted=traffic ;;
    INPUT) wanted="traffic station" ;;
    DIR) wanted=dir ;;
    *) wanted=$(_quorvane_cli_operands "$command") ;;
    esac
    [ "$(_quorvane_cli_operands "$command")" = "$wanted" ] ||
        fail "$command ${synopsis%% *} offers '$(_quorvane_cli_operands "$command")' files"
done <<<"$synopses"
# An option given once is not offered again (the command refuses it twice).
expect "$(lines --lists --log)" build x -o y --worst --zip-info --l

# The words of an option, from the usage text; "=" and quotes as the shell leaves them.
one_of() { sed -n "s/^$1 is one of: \(.*\) (.*/\1/p" "$help" | sed 's/, /\n/g'; }
kinds=$(one_of KIND)
intervals=$(one_of TEXT)
[ -n "$kinds" ] && [ -n "$intervals" ] || fail "the usage text lists no KIND or no TEXT"
expect "$kinds" plot x --kind ""
expect "$(printf '%s\n' "$kinds" | grep '^vol')" plot x --kind = vol
expect "$intervals" export x --interval ""
expect "$(lines "1 min" "1 hour" "10 min" "15 min")" export x --interval 1
expect "$(lines "1 min" "1 hour")" export x --interval '"1 '
expect "$(lines "30 sec" "30 min")" table x "--interval" '"30'
expect "30 sec" sum x --interval = '30\ s'
units=$(sed -n 's/.*--unit \([^] ]*\).*/\1/p' "$help" | head -1 | tr '|' '\n')
expect "$units" plot x --unit ""
expect "" export x --road ""

# File names by the suffix each argument takes, and folders to go into.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/sub"
touch "$work"/{a.traffic,b.station,c.csv,d.png,e.svg,f.pdf,notes.txt,"my day.traffic"}
cd "$work" || exit 1
expect "$(lines a.traffic "my day.traffic" sub)" build ""
expect "$(lines a.traffic b.station "my day.traffic" sub)" export ""
expect "$(lines a.traffic "my day.traffic" sub)" health ""
expect "sub" sample ""
expect "my day.traffic" info 'my\ '
expect "$(lines b.station sub)" build a.traffic -o ""
expect "$(lines c.csv sub)" export a.traffic -o ""
expect "$(lines d.png e.svg f.pdf sub)" plot a.traffic -o ""
expect "sub" plot a.traffic --lists ""
expect "$(lines a.traffic b.station c.csv d.png e.svg f.pdf "my day.traffic" notes.txt sub)" \
    export a.traffic --log ""
expect "$(lines a.traffic "my day.traffic" sub)" build --worst ""

# bash-completion finds the file where it is installed, as it does on the first <TAB>.
complete -r quorvane-cli
unset -f _quorvane_cli
loader=/usr/share/bash-completion/bash_completion
if [ ! -f "$loader" ]; then
    fail "bash-completion is not installed ($loader)"
else
    # shellcheck source=/dev/null
    source "$loader"
    XDG_DATA_DIRS=$prefix/share __load_completion quorvane-cli
    complete -p quorvane-cli 2>/dev/null | grep -q -- '-F _quorvane_cli quorvane-cli$' ||
        fail "bash-completion does not load $script"
fi

[ $status -eq 0 ] && echo "completion check: passed"
exit $status
