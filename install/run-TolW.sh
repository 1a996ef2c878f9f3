#!/bin/sh
# Runs the solver on one input file. Tolvik starts it in the input file's directory as
#   run-TolW.sh FILE USERDIR exit|wait
# FILE is the input file's name, USERDIR its directory relative to the work directory (the program
# directory, or the user's work area when that is read-only: see work-area.sh) or absolute, and exit
# or wait tells DOSBox whether to close by itself after the run.
# The solver's report lands in ~Tolvik.out here and in output/<FILE without extension>.out.
#
# Solvers, looked for in the solver/ directory of the user's work area (the program directory, unless
# that is read-only: see work-area.sh), then in the installation's; first found is used:
#   tolvik-solver  a native program, run as: tolvik-solver FILE, in the input file's directory (as
#                  ./FILE when FILE begins with "-"); it writes its report to standard output and
#                  exits 0 when it succeeded.
#   TOLVIK.EXE     the DOS solver, run in DOSBox (the dosbox package) after the pause time that
#                  Tolvik stores as tPause; it writes its report to TOLVIK.OUT.
# With neither, both output files say what is missing and where to put it, and the script fails.
#
# One run at a time in a directory: a second one waits for the first. A report that could not be
# written or kept whole fails the run; the kept report is only ever replaced by a complete copy.

file=$1
userdir=$2
ending=${3:-exit}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=work-area.sh disable=SC1091 # beside this script; checked on its own
. "$here/work-area.sh"
work=$(work_area "$here")
has_solver() {
    [ -x "$1/tolvik-solver" ] || [ -f "$1/TOLVIK.EXE" ]
}
# Without a solver anywhere, the user is told to put one where they can.
solver_dir=$work/solver
if ! has_solver "$solver_dir" && has_solver "$here/solver"; then
    solver_dir=$here/solver
fi
report='~Tolvik.out'
# New files are made, never written through whatever stands under their name.
set -C

fail() {
    echo "run-TolW.sh: $*" >&2
    exit 1
}

[ -n "$file" ] || { echo "run-TolW.sh: no input file given" >&2; exit 2; }

# The lock goes with the process that holds it, however it ends. Its file is opened for writing, as a
# lock on a network file system needs.
command exec 9>> .~Tolvik.lock || fail "could not lock $PWD for the run"
flock -n -E 200 9
case $? in
    0) ;;
    200)
        echo "Another run is going in $PWD; this one waits for it to end ..."
        flock 9 || fail "could not wait for the other run in $PWD"
        ;;
    *) fail "could not lock $PWD for the run" ;;
esac

mkdir -p output || fail "could not make the directory output in $PWD"
saved=output/${file%.*}.out

# A new, empty report on descriptor 5, in place of what was there (a link is replaced, not followed).
# Under the lock the names of the files in the making are this run's alone; one left by a run that was
# ended while making it goes with the next run.
open_report() {
    fresh=.~Tolvik.out.new
    rm -f -- "$fresh"
    command exec 5> "$fresh" || fail "could not write the report $report in $PWD"
    mv -fT -- "$fresh" "$report" || { rm -f -- "$fresh"; fail "could not write the report $report in $PWD"; }
}

# The kept report is replaced only by a complete copy of this one.
keep_report() {
    copy=output/.kept.new
    rm -f -- "$copy"
    if ! cat -- "$report" > "$copy" || ! mv -fT -- "$copy" "$saved"; then
        rm -f -- "$copy"
        echo "run-TolW.sh: the report could not be kept as $PWD/$saved (is the disk full or the directory" \
            "read-only?); $report holds it." >&2
        return 1
    fi
}

# The solver's status, unless the report could not be written or kept; then a failure. A report that
# was not written whole is not kept.
finish() {
    status=$1
    if [ "${2:-0}" -ne 0 ]; then
        echo "run-TolW.sh: the report $PWD/$report could not be written whole (is the disk full?);" \
            "$saved was left as it was." >&2
        [ "$status" -ne 0 ] || status=1
    elif ! keep_report; then
        [ "$status" -ne 0 ] || status=1
    fi
    exit "$status"
}

# The pause time in seconds, from the settings file that Tolvik keeps.
pause_time() {
    store=${XDG_CONFIG_HOME:-$HOME/.config}/Quenwick/registry.reg
    seconds=$(sed -n '/^\[Software\\Quenwick\]$/,/^\[/s/^"tPause"="\([0-9]*\.\{0,1\}[0-9]*\)"$/\1/p' \
        "$store" 2>/dev/null)
    case $seconds in
        '' | .) echo 20 ;;
        *) echo "$seconds" ;;
    esac
}

# Runs a command with its output shown as it comes (on descriptor 4, the script's own output) and
# written to the report; prints the command's status and then the report's, each on a line of its own.
run_reported() {
    statuses=$({ { "$@" 2>&1 9<&- 3>&- 4>&- 5>&-; echo "command $?" >&3; } |
        { tee /dev/fd/5 >&4; echo "report $?" >&3; }; } 3>&1)
    echo "$statuses" | sed -n 's/^command //p'
    echo "$statuses" | sed -n 's/^report //p'
}

open_report
exec 4>&1

if [ -x "$solver_dir/tolvik-solver" ]; then
    # A name that begins with "-" would read as an option.
    case $file in
        -*) argument=./$file ;;
        *) argument=$file ;;
    esac
    # shellcheck disable=SC2046 # two numbers, split on purpose
    finish $(run_reported "$solver_dir/tolvik-solver" "$argument")
fi

if [ -f "$solver_dir/TOLVIK.EXE" ] && command -v dosbox > /dev/null 2>&1; then
    # DOSBox cannot mount every name Linux allows: it mounts plain-named links to both directories.
    links=$(mktemp -d /tmp/tolvik-run.XXXXXX) || fail "could not make a directory in /tmp for DOSBox"
    trap 'rm -rf -- "$links"' EXIT
    trap 'exit 143' TERM
    trap 'exit 130' INT
    trap 'exit 129' HUP
    { ln -s -- "$PWD" "$links/run" && ln -s -- "$solver_dir" "$links/solver"; } ||
        fail "could not link the directories for DOSBox in $links"
    seconds=$(pause_time)
    echo "Waiting $seconds s (the pause time set on the Run tab) before starting DOSBox …"
    sleep "$seconds"
    # A TOLVIK.OUT left by an earlier run must not pass for this one's.
    rm -f TOLVIK.IN TOLVIK.OUT
    if ! cp -- "$file" TOLVIK.IN; then
        rm -f TOLVIK.IN
        # shellcheck disable=SC2046 # two numbers, split on purpose
        set -- $(run_reported echo "$file could not be copied to TOLVIK.IN for the DOS solver; nothing was run.")
        fail "could not copy $file to TOLVIK.IN in $PWD (is the disk full?)"
    fi
    if [ "$ending" = exit ]; then
        dosbox -c "mount c $links/run" -c "mount d $links/solver" -c "c:" -c "d:\\TOLVIK.EXE TOLVIK.IN" \
            -c exit 9<&- 5>&-
    else
        dosbox -c "mount c $links/run" -c "mount d $links/solver" -c "c:" -c "d:\\TOLVIK.EXE TOLVIK.IN" \
            9<&- 5>&-
    fi
    status=$?
    rm -f TOLVIK.IN
    if [ -f TOLVIK.OUT ]; then
        # shellcheck disable=SC2046 # two numbers, split on purpose
        set -- $(run_reported cat TOLVIK.OUT)
        # What could not be written whole stays in TOLVIK.OUT until the next run.
        [ "$1$2" != 00 ] || rm -f TOLVIK.OUT
    else
        # shellcheck disable=SC2046 # two numbers, split on purpose
        set -- $(run_reported echo "The DOS solver wrote no TOLVIK.OUT.")
        status=1
    fi
    finish "$status" "$2"
fi

# shellcheck disable=SC2317 # run through run_reported
say_what_is_missing() {
    echo "No solver is installed, so $file was not solved."
    echo "Put a native solver at $solver_dir/tolvik-solver (executable),"
    echo "or the DOS solver at $solver_dir/TOLVIK.EXE and install dosbox."
    echo
    echo "Arguments: file=$file directory=$userdir ending=$ending"
    echo "Input file:"
    cat -- "$file"
}

# shellcheck disable=SC2046 # two numbers, split on purpose
set -- $(run_reported say_what_is_missing)
echo "run-TolW.sh: no solver in $solver_dir" >&2
finish 3 "$2"
