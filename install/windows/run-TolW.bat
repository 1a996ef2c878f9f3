@echo off
rem Runs the solver on one input file. Tolvik starts it in the input file's directory as
rem   cmd /C run-TolW.bat FILE USERDIR exit-or-wait
rem FILE is the input file's name, USERDIR its directory relative to the program directory (or
rem absolute), and exit or wait tells DOSBox whether to close by itself after the run. The report
rem lands in ~Tolvik.out here and in output\FILE-without-extension.out.
rem The DOS solver is solver\TOLVIK.EXE of the user's work area (%LOCALAPPDATA%\Quenwick\Tolvik), else
rem of the program directory, run in DOSBox (dosbox.exe on the PATH or in its usual place); it reads
rem TOLVIK.IN and writes TOLVIK.OUT. Without either, both output files say what is missing, and the
rem script fails.
setlocal DisableDelayedExpansion
rem The names are taken in quotes, and used only through delayed expansion: no name is read as a command.
set "file=%~1"
set "userdir=%~2"
set "ending=%~3"
set "name=%~n1"
set "here=%~dp0"
setlocal EnableDelayedExpansion
if "!ending!"=="" set "ending=exit"
rem A solver of the user's own, in the work area, comes before the installation's.
set "solver=!here!solver"
if exist "%LOCALAPPDATA%\Quenwick\Tolvik\solver\TOLVIK.EXE" set "solver=%LOCALAPPDATA%\Quenwick\Tolvik\solver"
if not exist output mkdir output
set "saved=output\!name!.out"

set "dosbox="
for %%d in (dosbox.exe) do set "dosbox=%%~$PATH:d"
if not defined dosbox if exist "%ProgramFiles(x86)%\DOSBox-0.74-3\DOSBox.exe" set "dosbox=%ProgramFiles(x86)%\DOSBox-0.74-3\DOSBox.exe"
if not defined dosbox if exist "%ProgramFiles%\DOSBox-0.74-3\DOSBox.exe" set "dosbox=%ProgramFiles%\DOSBox-0.74-3\DOSBox.exe"

if exist "!solver!\TOLVIK.EXE" if defined dosbox goto dos

> "~Tolvik.out" echo No solver is installed, so !file! was not solved.
if not exist "!solver!\TOLVIK.EXE" >> "~Tolvik.out" echo Put the DOS solver at !solver!\TOLVIK.EXE.
if not defined dosbox >> "~Tolvik.out" echo Install DOSBox: dosbox.exe was found neither on the PATH nor in its usual place.
>> "~Tolvik.out" echo.
>> "~Tolvik.out" echo Arguments: file=!file! directory=!userdir! ending=!ending!
type "~Tolvik.out"
copy /y "~Tolvik.out" "!saved!" > nul
echo run-TolW.bat: no solver in !solver! 1>&2
exit /b 3

:dos
echo Waiting for DOSBox ...
if exist TOLVIK.OUT del TOLVIK.OUT
copy /y "!file!" TOLVIK.IN > nul || (echo run-TolW.bat: could not copy !file! to TOLVIK.IN 1>&2 & exit /b 1)
if /i "!ending!"=="exit" (
    "!dosbox!" -c "mount c ." -c "mount d ""!solver!""" -c "c:" -c "d:\TOLVIK.EXE TOLVIK.IN" -c exit
) else (
    "!dosbox!" -c "mount c ." -c "mount d ""!solver!""" -c "c:" -c "d:\TOLVIK.EXE TOLVIK.IN"
)
del TOLVIK.IN
if not exist TOLVIK.OUT (
    echo The DOS solver wrote no TOLVIK.OUT.> "~Tolvik.out"
    copy /y "~Tolvik.out" "!saved!" > nul
    exit /b 1
)
move /y TOLVIK.OUT "~Tolvik.out" > nul
type "~Tolvik.out"
copy /y "~Tolvik.out" "!saved!" > nul || (echo run-TolW.bat: the report could not be kept as !saved! 1>&2 & exit /b 1)
exit /b 0
