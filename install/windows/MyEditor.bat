@echo off
rem Shows a text file in an editor: Notepad++ when it is installed, otherwise Notepad.
set "editor=%ProgramFiles%\Notepad++\notepad++.exe"
if not exist "%editor%" set "editor=notepad.exe"
start "" "%editor%" "%~1"
