@echo off
rem Shows the solver's output: Notepad2 beside this file when it is there, otherwise what MyEditor.bat
rem opens.
if exist "%~dp0notepad2.exe" (
    start "" "%~dp0notepad2.exe" "%~1"
) else (
    call "%~dp0MyEditor.bat" "%~1"
)
