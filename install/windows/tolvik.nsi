; The setup program of Tolvik for Windows, built by scripts/build-windows-installer (make windows-installer).
; By default it installs for the current user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Quenwick\Tolvik; /AllUsers installs into Program Files for everyone. /S runs it
; silently, /D= names another program directory, /DesktopShortcut adds a desktop shortcut. The program
; directory's parent holds the launchers, as the installation is laid out.
; Defines from the build: BUILD_DEFINES (version and icon), FILES (the lists of files), INSTALLED_KB (their
; size), OUTFILE.

Unicode true
Target amd64-unicode
!include "${BUILD_DEFINES}"
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include WinMessages.nsh
!include StrFunc.nsh
${StrStr}

!define PRODUCT "Tolvik"
!define PUBLISHER "Quenwick"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenwick Tolvik"
!define UNINSTALLER "Uninstall Tolvik.exe"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
; Browse appends "Tolvik" to the folder chosen; .onInit sets the folder itself.
InstallDir "$LOCALAPPDATA\Programs\Quenwick\Tolvik"
; A file that cannot be written (a running program, a read-only folder) stops the setup instead of
; being skipped, which silently would leave the old or no file.
AllowSkipFiles off
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright © 2016 ${PUBLISHER}. All rights reserved."

Var AllUsers       ; 1: for everyone, in Program Files
Var ModeGiven      ; 1: the command line chose the mode, so its page is not shown
Var DirectoryGiven ; 1: /D= chose the program directory
Var ParentDir      ; the program directory's parent
Var OwnEntry       ; uninstaller: 1 when the uninstall entry names this folder
Var ModeMe
Var ModeEveryone

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup will install ${PRODUCT} ${VERSION} in the following folder, and its \
    launchers (MyEditor.bat, notePad2.bat, Plotvanes.exe and donate.html) in the folder above it, so the \
    folder must lie inside another one, not at the top of a drive. To install in a different folder, click \
    Browse and select another folder. Click Install to start the installation."
!define MUI_FINISHPAGE_RUN "$INSTDIR\tolvik.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"

!insertmacro MUI_PAGE_WELCOME
Page custom modePage modePageLeave
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE directoryPageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW finishShow
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!macro FullPath un path result
    Push "${path}"
    Call ${un}fullPath
    Pop ${result}
!macroend

; The folder of the installation an uninstall entry under root names, resolved; "" when there is no
; entry or its uninstaller is gone (the folder deleted by hand), since then it names none.
!macro EntryFolder un root result
    ReadRegStr ${result} ${root} "${UNINSTALL_KEY}" "InstallLocation"
    !insertmacro FullPath "${un}" ${result} ${result}
    ${IfNot} ${FileExists} "${result}\${UNINSTALLER}"
        StrCpy ${result} ""
    ${EndIf}
!macroend

!macro SharedFunctions un
; For whom the program is installed: the shell folders (Start menu, desktop) and the registry root.
Function ${un}setMode
    ${If} $AllUsers == 1
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
FunctionEnd

; Ends with a message and an exit code, silently too.
Function ${un}stop
    Exch $0
    MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
    SetErrorLevel 2
    Quit
FunctionEnd

; Stops while the program runs from this folder: Windows keeps a running program's files.
Function ${un}notWhileRunning
    ${IfNot} ${FileExists} "$INSTDIR\tolvik.exe"
        Return
    ${EndIf}
    retry:
    ClearErrors
    FileOpen $0 "$INSTDIR\tolvik.exe" a
    ${IfNot} ${Errors}
        FileClose $0
        Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running from $INSTDIR. Close it, then click \
        Retry." /SD IDCANCEL IDRETRY retry
    Push "${PRODUCT} is still running from $INSTDIR, so nothing was changed."
    Call ${un}stop
FunctionEnd

; The path on the stack as the system resolves it: "C:\a\..\Tolvik" is "C:\Tolvik", and a short (8.3)
; name is its long one once the folder exists. Entries and commands compare such names, so both sides
; of a comparison go through here.
Function ${un}fullPath
    Exch $0
    Push $1
    Push $2
    System::Call 'kernel32::GetFullPathNameW(t r0, i ${NSIS_MAX_STRLEN}, t .r2, p 0) i .r1'
    ${If} $1 != 0
    ${AndIf} $1 < ${NSIS_MAX_STRLEN}
        StrCpy $0 $2
    ${EndIf}
    System::Call 'kernel32::GetLongPathNameW(t r0, t .r2, i ${NSIS_MAX_STRLEN}) i .r1'
    ${If} $1 != 0
    ${AndIf} $1 < ${NSIS_MAX_STRLEN}
        StrCpy $0 $2
    ${EndIf}
    Pop $2
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

; Installing for everyone needs an administrator: without one, the same setup is started again with the
; rights asked for, and this one ends.
Function needAdministrator
    Push $0
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
        Pop $0
        Return
    ${EndIf}
    ${IfNot} ${Silent}
        ${GetParameters} $1
        StrCpy $1 "$1 /AllUsers"
        ; /D= comes last, as the setup reads it.
        ${If} $DirectoryGiven == 1
            StrCpy $1 "$1 /D=$INSTDIR"
        ${EndIf}
        ClearErrors
        ExecShell "runas" "$EXEPATH" "$1"
        ${IfNot} ${Errors}
            Quit
        ${EndIf}
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "Installing ${PRODUCT} for everyone needs administrator rights." /SD IDOK
    SetErrorLevel 740
    Quit
FunctionEnd

; The folder above the program directory, which holds the launchers; empty for a program directory at
; the top of a drive or of a network share, where the launchers would have no folder of their own.
Function parentDirectory
    ${GetParent} $INSTDIR $ParentDir
    ${GetParent} $ParentDir $0
    ; A share's top, \\server\share, has the parent \\server.
    StrCpy $2 $0 2
    StrCpy $3 $0 "" 2
    ${StrStr} $3 $3 "\"
    ${If} $2 == "\\"
    ${AndIf} $3 == ""
        StrCpy $0 ""
    ${EndIf}
    StrCpy $1 $INSTDIR 4
    ${If} $0 == ""
    ${OrIf} $1 == "\\?\"
        StrCpy $ParentDir ""
    ${EndIf}
FunctionEnd

; The folder as the setup will take it, so that the page enables Install only for one it accepts.
Function .onVerifyInstDir
    Push $INSTDIR
    !insertmacro FullPath "" $INSTDIR $INSTDIR
    Call parentDirectory
    Pop $INSTDIR
    ${If} $ParentDir == ""
        Abort
    ${EndIf}
FunctionEnd

Function modePage
    ${If} $ModeGiven == 1
        Abort
    ${EndIf}
    !insertmacro MUI_HEADER_TEXT "Choose Users" "Choose for whom ${PRODUCT} is installed."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateRadioButton} 0 10u 100% 12u "&Only for me (no administrator rights needed)"
    Pop $ModeMe
    ${NSD_CreateRadioButton} 0 30u 100% 12u "&Anyone who uses this computer (needs administrator rights)"
    Pop $ModeEveryone
    ${NSD_CreateLabel} 12u 46u 95% 36u "Each user's input files, reports and demo runs are then kept in \
        their own folder (%LOCALAPPDATA%\Quenwick\Tolvik), since the program folder cannot be written."
    Pop $0
    ${If} $AllUsers == 1
        ${NSD_Check} $ModeEveryone
    ${Else}
        ${NSD_Check} $ModeMe
    ${EndIf}
    nsDialogs::Show
FunctionEnd

; A folder chosen with Browse stays while the mode does.
Function modePageLeave
    StrCpy $4 $AllUsers
    ${NSD_GetState} $ModeEveryone $0
    ${If} $0 == ${BST_CHECKED}
        StrCpy $AllUsers 1
        Call needAdministrator
    ${Else}
        StrCpy $AllUsers 0
    ${EndIf}
    Call setMode
    ${If} $4 != $AllUsers
        Call defaultDirectory
    ${EndIf}
FunctionEnd

; A program started by an administrator's setup would run with the administrator's settings.
Function finishShow
    ${If} $AllUsers == 1
        SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
        ShowWindow $mui.FinishPage.Run ${SW_HIDE}
    ${EndIf}
FunctionEnd

; The classes a program start registers too (with the same texts), so that the shell opens input and
; output files with the editor launcher and plot files with the plot viewer.
!macro WriteFileTypes
    WriteRegStr SHCTX "Software\Classes\.Out" "" "MyEditor.bat"
    WriteRegStr SHCTX "Software\Classes\.Tolv" "" "MyEditor.bat"
    WriteRegStr SHCTX "Software\Classes\MyEditor.bat" "" "Tolv Input file"
    WriteRegStr SHCTX "Software\Classes\MyEditor.bat\shell\open\command" "" '"$INSTDIR\..\MyEditor.bat" %1'
    WriteRegStr SHCTX "Software\Classes\.plt" "" "Plotvanes"
    WriteRegStr SHCTX "Software\Classes\Plotvanes" "" "XYplot file"
    WriteRegStr SHCTX "Software\Classes\Plotvanes\shell\open\command" "" '"$INSTDIR\..\Plotvanes" %1'
!macroend

Section "Tolvik" ProgramSection
    SectionIn RO
    ; The entry and the shortcuts name the folder as the system does, without "." or "..".
    !insertmacro FullPath "" $INSTDIR $INSTDIR
    Call parentDirectory
    ${If} $ParentDir == ""
        Push "${PRODUCT} cannot be installed in $INSTDIR: its launchers would go to the top of the drive. \
            Choose a folder inside another folder."
        Call stop
    ${EndIf}
    Call installationConflict
    Pop $0
    ${If} $0 != ""
        Push $0
        Call stop
    ${EndIf}
    Call notWhileRunning
    ; The uninstaller and its entry come first, so that a setup stopped half-way can be undone.
    CreateDirectory "$INSTDIR"
    ; Only a folder that exists has its long name.
    !insertmacro FullPath "" $INSTDIR $INSTDIR
    Call parentDirectory
    ClearErrors
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ${If} ${Errors}
        Push "${PRODUCT} cannot be installed in $INSTDIR: the folder cannot be written."
        Call stop
    ${EndIf}
    Call writeUninstallEntry
    !include "${FILES}\install-files.nsh"
    SetOutPath "$INSTDIR"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tolvik.exe" "" "$INSTDIR\tolvik.exe" 0
    !insertmacro WriteFileTypes
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section /o "Desktop shortcut" DesktopSection
    SetOutPath "$INSTDIR"
    CreateShortCut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\tolvik.exe" "" "$INSTDIR\tolvik.exe" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${ProgramSection} "The program, its examples, its manual and the Start-menu shortcut."
    !insertmacro MUI_DESCRIPTION_TEXT ${DesktopSection} "A shortcut to ${PRODUCT} on the desktop."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    Call givenDirectory
    StrCpy $AllUsers 0
    StrCpy $ModeGiven 0
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AllUsers" $1
    ${IfNot} ${Errors}
        StrCpy $AllUsers 1
        StrCpy $ModeGiven 1
        Call needAdministrator
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/CurrentUser" $1
    ${IfNot} ${Errors}
        StrCpy $AllUsers 0
        StrCpy $ModeGiven 1
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/DesktopShortcut" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${DesktopSection} ${SF_SELECTED}
    ${EndIf}
    Call setMode
    Call defaultDirectory
FunctionEnd

; Whether /D= named the folder. The setup drops a /D= it cannot use (a drive's or share's top) and keeps
; the InstallDir attribute's folder; that is refused rather than installing elsewhere. /D= is the rest
; of the command line after the setup's own path, which only the system's copy of it still holds.
Function givenDirectory
    StrCpy $DirectoryGiven 0
    System::Call 'kernel32::GetCommandLineW() t .r0'
    StrCpy $1 $0 1
    ${If} $1 == '"'
        StrCpy $0 $0 "" 1
        ${StrStr} $0 $0 '"'
    ${EndIf}
    ${StrStr} $1 $0 " /D="
    ${If} $1 == ""
        Return
    ${EndIf}
    ; The setup itself would take a "/d=" for an option it does not know, and install elsewhere.
    StrCpy $2 $1 4
    ${IfNot} $2 S== " /D="
        Push "Give the folder as /D=<folder>, in capitals and last. ${PRODUCT} was not installed."
        Call stop
    ${EndIf}
    StrCpy $DirectoryGiven 1
    StrCpy $1 $1 "" 4
    ${If} $INSTDIR == "$LOCALAPPDATA\Programs\Quenwick\Tolvik"
    ${AndIf} $1 != $INSTDIR
    ${AndIf} $1 != "$INSTDIR\"
        Push "${PRODUCT} cannot be installed in $1: give a full path with backslashes (\), to a folder \
            inside another folder."
        Call stop
    ${EndIf}
FunctionEnd

; What stands against installing into $INSTDIR, on the stack, or "". One entry per user (or for
; everyone) names one installation, and one folder holds one: the other users' entry would be left
; naming a folder that the first uninstall empties.
Function installationConflict
    Push $0
    Push $1
    Push $2
    !insertmacro FullPath "" $INSTDIR $1
    !insertmacro EntryFolder "" SHCTX $0
    ${If} $0 != ""
    ${AndIf} $0 != $1
        StrCpy $0 "${PRODUCT} is already installed in $0. Uninstall it first, or install into that folder."
    ${Else}
        ${If} $AllUsers == 1
            !insertmacro EntryFolder "" HKCU $0
            StrCpy $2 "for one user"
        ${Else}
            !insertmacro EntryFolder "" HKLM $0
            StrCpy $2 "for everyone"
        ${EndIf}
        ${If} $0 == $1
            StrCpy $0 "${PRODUCT} is already installed in $0 $2. Choose another folder."
        ${Else}
            StrCpy $0 ""
        ${EndIf}
    ${EndIf}
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

; Said on the page, where another folder can still be chosen.
Function directoryPageLeave
    Call installationConflict
    Pop $0
    ${If} $0 != ""
        MessageBox MB_OK|MB_ICONEXCLAMATION "$0"
        Abort
    ${EndIf}
FunctionEnd

; The installation of this mode, to be updated where it is; else the usual folder.
Function defaultDirectory
    ${If} $DirectoryGiven == 1
        Return
    ${EndIf}
    !insertmacro EntryFolder "" SHCTX $0
    ${If} $0 != ""
        StrCpy $INSTDIR $0
        Return
    ${EndIf}
    ${If} $AllUsers == 1
        StrCpy $INSTDIR "$PROGRAMFILES64\Quenwick\Tolvik"
    ${Else}
        ; The per-user programs folder, where Windows keeps it, else where it usually is.
        GetKnownFolderPath $0 {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}
        ${If} $0 == ""
            StrCpy $0 "$LOCALAPPDATA\Programs"
        ${EndIf}
        StrCpy $INSTDIR "$0\Quenwick\Tolvik"
    ${EndIf}
FunctionEnd

Function writeUninstallEntry
    StrCpy $0 "/CurrentUser"
    ${If} $AllUsers == 1
        StrCpy $0 "/AllUsers"
    ${EndIf}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tolvik.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" $0'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" $0 /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${INSTALLED_KB}
FunctionEnd

; The installation this uninstaller removes is the one whose entry names its folder, for everyone or
; for this user; /AllUsers only decides when no entry does.
Function un.onInit
    ; _?= may name the folder in another spelling than the entry's.
    !insertmacro FullPath "un." $INSTDIR $INSTDIR
    StrCpy $OwnEntry 1
    !insertmacro EntryFolder "un." HKLM $0
    !insertmacro EntryFolder "un." HKCU $1
    ${If} $0 == $INSTDIR
        StrCpy $AllUsers 1
    ${ElseIf} $1 == $INSTDIR
        StrCpy $AllUsers 0
    ${Else}
        StrCpy $OwnEntry 0
        ${GetParameters} $0
        ClearErrors
        ${GetOptions} $0 "/AllUsers" $1
        StrCpy $AllUsers 1
        ${If} ${Errors}
            StrCpy $AllUsers 0
        ${EndIf}
    ${EndIf}
    ${If} $AllUsers == 1
        Call un.needAdministrator
    ${EndIf}
    Call un.setMode
FunctionEnd

; The uninstaller runs from a copy of itself; the one to start again with the rights is the original.
Function un.needAdministrator
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
        Return
    ${EndIf}
    ${IfNot} ${Silent}
        ClearErrors
        ExecShell "runas" "$INSTDIR\${UNINSTALLER}" "/AllUsers"
        ${IfNot} ${Errors}
            Quit
        ${EndIf}
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "Uninstalling ${PRODUCT} for everyone needs administrator rights." /SD IDOK
    SetErrorLevel 740
    Quit
FunctionEnd

; Removes a file type or class only while it is still this installation's: another program may have
; taken the extension since, or added its own values to it.
!macro RemoveFileTypes root
    ReadRegStr $0 ${root} "Software\Classes\MyEditor.bat\shell\open\command" ""
    ${If} $0 == '"$INSTDIR\..\MyEditor.bat" %1'
        DeleteRegKey ${root} "Software\Classes\MyEditor.bat"
    ${EndIf}
    ReadRegStr $0 ${root} "Software\Classes\Plotvanes\shell\open\command" ""
    ${If} $0 == '"$INSTDIR\..\Plotvanes" %1'
        DeleteRegKey ${root} "Software\Classes\Plotvanes"
    ${EndIf}
    ReadRegStr $0 ${root} "Software\Classes\MyEditor.bat" ""
    ${If} $0 == ""
        !insertmacro RemoveExtension ${root} ".Out" "MyEditor.bat"
        !insertmacro RemoveExtension ${root} ".Tolv" "MyEditor.bat"
    ${EndIf}
    ReadRegStr $0 ${root} "Software\Classes\Plotvanes" ""
    ${If} $0 == ""
        !insertmacro RemoveExtension ${root} ".plt" "Plotvanes"
    ${EndIf}
!macroend

!macro RemoveExtension root extension class
    ReadRegStr $1 ${root} "Software\Classes\${extension}" ""
    ${If} $1 == "${class}"
        DeleteRegValue ${root} "Software\Classes\${extension}" ""
        DeleteRegKey /IfEmpty ${root} "Software\Classes\${extension}"
    ${EndIf}
!macroend

Section "Uninstall"
    Call un.notWhileRunning
    ${GetParent} $INSTDIR $ParentDir
    ClearErrors
    !include "${FILES}\uninstall-files.nsh"
    ; What could not go stays uninstallable: the uninstaller, its entry and the shortcuts stay with it.
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONEXCLAMATION "Some of ${PRODUCT}'s files could not be removed from $INSTDIR. \
            Close what uses them, then uninstall ${PRODUCT} again." /SD IDOK
        SetErrorLevel 1
        Quit
    ${EndIf}
    ; Run in place (_?=), the uninstaller cannot remove itself; whoever ran it so removes it.
    Delete "$INSTDIR\${UNINSTALLER}"
    ; A folder that holds the user's own files stays, with them.
    !include "${FILES}\uninstall-folders.nsh"
    ; The shortcuts' names are shared by every installation: they go with the one the entry names.
    ${If} $OwnEntry == 1
        Delete "$SMPROGRAMS\${PRODUCT}.lnk"
        Delete "$DESKTOP\${PRODUCT}.lnk"
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${EndIf}
    ; The program registers the same types for whoever starts it: the uninstalling user's go too.
    !insertmacro RemoveFileTypes SHCTX
    !insertmacro RemoveFileTypes HKCU
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
