@echo off
rem Shows a text file in an editor: Notepad++ when it is installed, otherwise Notepad. A file type hands
rem a name with blanks over unquoted, as several arguments: then the file is all of them.
setlocal DisableDelayedExpansion
set "file=%~1"
if not "%~2"=="" set "file=%*"
set "editor=%ProgramFiles%\Notepad++\notepad++.exe"
if not exist "%editor%" set "editor=notepad.exe"
start "" "%editor%" "%file%"
