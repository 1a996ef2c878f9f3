#!/bin/sh
# Runs the solver on one input file. Tolvik starts it in the input file's directory as
#   run-TolW.sh FILE USERDIR exit|wait
# FILE is the input file's name, USERDIR its directory relative to the program directory (or
# absolute), and exit or wait tells DOSBox whether to close by itself after the run.
# The solver's report lands in ~Tolvik.out here and in output/<FILE without extension>.out.
#
# Solvers, looked for in the installation's solver/ directory, first found is used:
#   tolvik-solver  a native program, run as: tolvik-solver FILE, in the input file's directory;
#                  it writes its report to standard output and exits 0 when it succeeded.
#   TOLVIK.EXE     the DOS solver, run in DOSBox (the dosbox package) after the pause time that
#                  Tolvik stores as tPause; it writes its report to TOLVIK.OUT.
# With neither, both output files say what is missing and where to put it, and the script fails.

file=$1
userdir=$2
ending=${3:-exit}
here=$(cd "$(dirname "$0")" && pwd)
solver_dir=$here/solver
report='~Tolvik.out'

[ -n "$file" ] || { echo "run-TolW.sh: no input file given" >&2; exit 2; }
mkdir -p output || exit 1
saved=output/${file%.*}.out

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

finish() {
    cp -- "$report" "$saved"
    exit "$1"
}

# The report shows in Tolvik's run window as it comes, and is kept; the solver's status comes back
# through descriptor 3.
if [ -x "$solver_dir/tolvik-solver" ]; then
    exec 4>&1
    status=$({ { "$solver_dir/tolvik-solver" "$file" 2>&1; echo $? >&3; } | tee "$report" >&4; } 3>&1)
    exec 4>&-
    finish "$status"
fi

if [ -f "$solver_dir/TOLVIK.EXE" ] && command -v dosbox > /dev/null 2>&1; then
    sleep "$(pause_time)"
    cp -- "$file" TOLVIK.IN || finish 1
    if [ "$ending" = exit ]; then
        dosbox -c "mount c \"$PWD\"" -c "mount d \"$solver_dir\"" -c "c:" -c "d:\\TOLVIK.EXE TOLVIK.IN" -c exit
    else
        dosbox -c "mount c \"$PWD\"" -c "mount d \"$solver_dir\"" -c "c:" -c "d:\\TOLVIK.EXE TOLVIK.IN"
    fi
    status=$?
    rm -f TOLVIK.IN
    if [ -f TOLVIK.OUT ]; then
        mv -f TOLVIK.OUT "$report"
    else
        echo "The DOS solver wrote no TOLVIK.OUT." > "$report"
        status=1
    fi
    finish "$status"
fi

{
    echo "No solver is installed, so $file was not solved."
    echo "Put a native solver at $solver_dir/tolvik-solver (executable),"
    echo "or the DOS solver at $solver_dir/TOLVIK.EXE and install dosbox."
    echo
    echo "Arguments: file=$file directory=$userdir ending=$ending"
    echo "Input file:"
    cat -- "$file"
} 2>&1 | tee "$report"
cp -- "$report" "$saved"
echo "run-TolW.sh: no solver in $solver_dir" >&2
exit 3
