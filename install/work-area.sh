# shellcheck shell=sh
# Sourced by the run script and the terminal commands. A program directory the user cannot write (a
# package's) leaves what they write to the user's own work area, as Tolvik does: the examples, copied
# there read-only, their output and User.

# The work directory for the program directory $1.
work_area() {
    if [ -w "$1" ] && [ -x "$1" ]; then
        echo "$1"
        return
    fi
    case ${XDG_DATA_HOME:-} in
        /*) echo "$XDG_DATA_HOME/Quenwick/Tolvik" ;;
        *) echo "$HOME/.local/share/Quenwick/Tolvik" ;;
    esac
}

# Copies the examples (input files only) of program directory $1 that are not in work directory $2
# yet; a copy the user changed stays. One that cannot be copied is left out: the command that needs it
# then says it is missing.
copy_examples() {
    [ "$2" != "$1" ] || return 0
    mkdir -p -- "$2/demos" || return 1
    for example in "$1"/demos/*.[Tt][Oo][Ll][Vv]; do
        [ -f "$example" ] || continue
        copy=$2/demos/${example##*/}
        [ ! -e "$copy" ] || continue
        { cp -- "$example" "$copy.new" && chmod 444 -- "$copy.new" && mv -f -- "$copy.new" "$copy"; } ||
            rm -f -- "$copy.new"
    done
}
