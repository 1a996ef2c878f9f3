# shellcheck shell=sh
# Sourced by the run script and the terminal commands, with $here set to the program directory. A
# program directory the user cannot write (a package's) leaves what they write to the user's own work
# area, as Tolvik does: the examples, copied there read-only, their output and User.
# shellcheck disable=SC2154 # here is the sourcing script's
if [ -w "$here" ] && [ -x "$here" ]; then
    work=$here
else
    case ${XDG_DATA_HOME:-} in
        /*) work=$XDG_DATA_HOME/Quenwick/Tolvik ;;
        *) work=$HOME/.local/share/Quenwick/Tolvik ;;
    esac
fi

# Copies the examples (input files only) that are not in the work area yet; a copy the user changed
# stays. One that cannot be copied is left out: the command that needs it then says it is missing.
copy_examples() {
    [ "$work" != "$here" ] || return 0
    mkdir -p -- "$work/demos" || return 1
    for example in "$here"/demos/*.[Tt][Oo][Ll][Vv]; do
        [ -f "$example" ] || continue
        copy=$work/demos/${example##*/}
        [ ! -e "$copy" ] || continue
        { cp -- "$example" "$copy.new" && chmod 444 -- "$copy.new" && mv -f -- "$copy.new" "$copy"; } ||
            rm -f -- "$copy.new"
    done
}
