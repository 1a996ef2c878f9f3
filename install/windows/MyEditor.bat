@echo off
rem Shows a text file in an editor: Notepad++ when it is installed, otherwise Notepad. The file is all
rem of the arguments, joined by blanks: a file type hands a name with blanks over unquoted.
setlocal DisableDelayedExpansion
set "file=%~1"
:join
shift
if "%~1"=="" goto open
set "file=%file% %~1"
goto join
:open
set "editor=%ProgramFiles%\Notepad++\notepad++.exe"
if not exist "%editor%" set "editor=notepad.exe"
start "" "%editor%" "%file%"
