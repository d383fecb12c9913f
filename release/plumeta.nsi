; The Windows release in one file: Plumeta-<version>-setup.exe and, written
; by it, uninstall.exe. An ANSI installer, so that it starts on Windows 95
; and NT 4.0 as the programs do.
;
; makensis -DVERSION=1.0.0 -DSHIPPED=<folder with monitor/ setup/ gsbridge/>
;          -DMANUAL=<manual.chm> -DOUTFILE=<setup.exe>
;          [-DUNINSTALLER_COPY=<path>]  (keeps a copy of uninstall.exe there)
;          release/plumeta.nsi
;
; Unattended: setup.exe /S [/AUTOSAVE=folder] [/TEMPLATE=text]; the exit
; code is 0 when everything is in place, and each run writes what it did,
; or why it stopped, to %windir%\Plumeta-setup.log.

Unicode false
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include WordFunc.nsh

Name "Plumeta ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Plumeta"
BrandingText "Plumeta ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!ifdef UNINSTALLER_COPY
  !uninstfinalize 'cp "%1" "${UNINSTALLER_COPY}"'
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Plumeta"
!define MONITOR_KEY "SYSTEM\CurrentControlSet\Control\Print\Monitors\Redirected Port"
!define LOG_FILE "$WINDIR\Plumeta-setup.log"

; Exit codes of a run that stops.
!define EXIT_NO_GHOSTSCRIPT 3
!define EXIT_NO_PORT_MONITOR 4
!define EXIT_DRIVER_FILES_MISSING 5
!define EXIT_SETUP_FAILED 6
!define EXIT_FILES_NOT_WRITTEN 7

!define MUI_ICON "${RESOURCES}\plumeta.ico"
!define MUI_UNICON "${RESOURCES}\plumeta.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\plumeta.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start the Plumeta tray monitor now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\manual.chm"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the manual"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "Plumeta"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "Plumeta setup"
VIAddVersionKey CompanyName "Plumeta"
VIAddVersionKey LegalCopyright "Plumeta"

Var Family          ; 9x, NT4 or NT
Var Wow64           ; 1 on 64-bit Windows (this installer runs under WOW64)
Var SystemFolder    ; the native system folder, as the port's Command names it
Var GsConsole       ; the Ghostscript found: its console program and DLL
Var GsDll
Var GsDllName       ; gsdll32.dll or gsdll64.dll
Var GsVersion
Var AutoSave
Var Template

; ---------------------------------------------------------------- log, stop

!macro Log TEXT
  Push "${TEXT}"
  !ifdef __UNINSTALL__
    Call un.WriteLog
  !else
    Call WriteLog
  !endif
!macroend

!macro Stop CODE TEXT
  Push ${CODE}
  Push "${TEXT}"
  !ifdef __UNINSTALL__
    Call un.StopHere
  !else
    Call StopHere
  !endif
!macroend

!macro LOG_FUNCTIONS PREFIX
Function ${PREFIX}WriteLog
  Exch $0
  Push $1
  ClearErrors
  FileOpen $1 "${LOG_FILE}" a
  ${IfNot} ${Errors}
    FileSeek $1 0 END
    FileWrite $1 "$0$\r$\n"
    FileClose $1
  ${EndIf}
  DetailPrint "$0"
  Pop $1
  Pop $0
FunctionEnd

; Says why, in the log and (interactive runs) in a message box, and ends the
; run with the exit code.
Function ${PREFIX}StopHere
  Exch $0  ; text
  Exch
  Exch $1  ; exit code
  Push $0
  Call ${PREFIX}WriteLog
  MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
  SetErrorLevel $1
  Quit
FunctionEnd
!macroend

!insertmacro LOG_FUNCTIONS ""
!insertmacro LOG_FUNCTIONS "un."

; ---------------------------------------------------------------- the system

; $Family, $Wow64 and $SystemFolder, without plug-ins, so that this also runs
; where the System plug-in cannot (95, NT 4.0).
!macro DECIDE_SYSTEM PREFIX
Function ${PREFIX}DecideSystem
  Push $0
  ReadEnvStr $0 OS
  ${If} $0 != "Windows_NT"
    StrCpy $Family "9x"
  ${Else}
    ReadRegStr $0 HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion" "CurrentVersion"
    StrCpy $0 $0 1
    ${If} $0 == "4"
    ${OrIf} $0 == "3"
      StrCpy $Family "NT4"
    ${Else}
      StrCpy $Family "NT"
    ${EndIf}
  ${EndIf}
  ReadEnvStr $0 PROCESSOR_ARCHITEW6432
  StrCpy $Wow64 0
  ${If} $0 != ""
    StrCpy $Wow64 1
  ${EndIf}
  ; The shipped programs write and name %windir%\system32 on every system
  ; (under WOW64 the native one, which a 32-bit program reaches with the
  ; file-system redirection off).
  StrCpy $SystemFolder "$WINDIR\system32"
  Pop $0
FunctionEnd
!macroend
!insertmacro DECIDE_SYSTEM ""
!insertmacro DECIDE_SYSTEM "un."

!macro NATIVE_FILES_ON
  ${If} $Wow64 == 1
    ${DisableX64FSRedirection}
  ${EndIf}
!macroend
!macro NATIVE_FILES_OFF
  ${If} $Wow64 == 1
    ${EnableX64FSRedirection}
  ${EndIf}
!macroend

; ---------------------------------------------------------------- Ghostscript

; Looks through one registry view for a Ghostscript registered the way its
; own setup does it (HKLM\SOFTWARE\<product>\<version>, value GS_DLL) whose
; DLL and console program are there; the newest wins, and of two alike the
; one found last.
Function FindGhostscriptInView
  Push $0  ; product index
  Push $1  ; product
  Push $2  ; version index
  Push $3  ; version
  Push $4  ; GS_DLL
  Push $5  ; folder
  Push $6  ; console name
  Push $7  ; version comparison
  StrCpy $0 0
  ${Do}
    ${Select} $0
      ${Case} 0
        StrCpy $1 "GPL Ghostscript"
      ${Case} 1
        StrCpy $1 "Artifex Ghostscript"
      ${Case} 2
        StrCpy $1 "AFPL Ghostscript"
      ${Case} 3
        StrCpy $1 "GNU Ghostscript"
      ${CaseElse}
        ${Break}
    ${EndSelect}
    StrCpy $2 0
    ${Do}
      EnumRegKey $3 HKLM "SOFTWARE\$1" $2
      ${IfThen} $3 == "" ${|} ${Break} ${|}
      IntOp $2 $2 + 1
      ReadRegStr $4 HKLM "SOFTWARE\$1\$3" "GS_DLL"
      ${If} $4 == ""
        ${Continue}
      ${EndIf}
      ${GetParent} $4 $5
      ${GetFileName} $4 $6
      ${If} $6 == "gsdll64.dll"
        StrCpy $6 "gswin64c.exe"
      ${Else}
        StrCpy $6 "gswin32c.exe"
      ${EndIf}
      StrCpy $7 0
      ${If} $GsVersion != ""
        ${VersionCompare} $3 $GsVersion $7
      ${EndIf}
      ${If} ${FileExists} "$4"
      ${AndIf} ${FileExists} "$5\$6"
      ${AndIf} $7 != 2
        StrCpy $GsVersion $3
        StrCpy $GsDll $4
        StrCpy $GsConsole "$5\$6"
        ${GetFileName} $4 $GsDllName
      ${EndIf}
    ${Loop}
    IntOp $0 $0 + 1
  ${Loop}
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Function FindGhostscript
  StrCpy $GsDll ""
  StrCpy $GsConsole ""
  StrCpy $GsVersion ""
  ${If} $Wow64 == 1
    ; A 32-bit Ghostscript registers itself in the 32-bit view, a 64-bit one
    ; in the 64-bit view; of the same version the native one wins.
    SetRegView 32
    Call FindGhostscriptInView
    SetRegView 64
    Call FindGhostscriptInView
    SetRegView default
  ${Else}
    Call FindGhostscriptInView
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- checks

!macro CheckDriverFile FOLDER NAME
  ${IfNot} ${FileExists} "${FOLDER}\${NAME}"
    StrCpy $1 "$1${FOLDER}\${NAME}$\r$\n"
  ${EndIf}
!macroend

; Everything the installation needs, before anything is changed.
Function CheckPrerequisites
  Call FindGhostscript
  ${If} $GsDll == ""
    !insertmacro Stop ${EXIT_NO_GHOSTSCRIPT} "Ghostscript is not installed. Plumeta needs it to make PDF files: install Ghostscript for Windows first, then run this setup again. Nothing was changed."
  ${EndIf}
  !insertmacro Log "Ghostscript: $GsConsole"

  ReadRegStr $0 HKLM "${MONITOR_KEY}" "Driver"
  ${If} $0 == ""
    !insertmacro Stop ${EXIT_NO_PORT_MONITOR} "The port monitor $\"Redirected Port$\" is not registered. Without it the printer could not be added and nothing would ever print: install the port monitor first, then run this setup again. Nothing was changed."
  ${EndIf}

  ; The PostScript driver the setup program copies on the old systems.
  StrCpy $1 ""
  ${If} $Family == "NT4"
    StrCpy $2 "$WINDIR\system32\Port\NT"
    !insertmacro CheckDriverFile $2 AdobePS5.dll
    !insertmacro CheckDriverFile $2 AdobePS5.ntf
    !insertmacro CheckDriverFile $2 AdobePSu.dll
    !insertmacro CheckDriverFile $2 ADOBEPSU.HLP
    !insertmacro CheckDriverFile $2 defprtr2.ppd
    !insertmacro CheckDriverFile $2 ADIST5.PPD
    !insertmacro CheckDriverFile $2 ICONLIB.DLL
    !insertmacro CheckDriverFile $2 PSMON.DLL
  ${ElseIf} $Family == "9x"
    StrCpy $2 "$WINDIR\SYSTEM32\Port\Me"
    !insertmacro CheckDriverFile $2 adfonts.mfm
    !insertmacro CheckDriverFile $2 ADIST5.PPD
    !insertmacro CheckDriverFile $2 ADOBEPS4.DRV
    !insertmacro CheckDriverFile $2 ADOBEPS4.HLP
    !insertmacro CheckDriverFile $2 defprtr2.ppd
    !insertmacro CheckDriverFile $2 ICONLIB.DLL
    !insertmacro CheckDriverFile $2 PSMON.DLL
  ${EndIf}
  ${If} $1 != ""
    !insertmacro Stop ${EXIT_DRIVER_FILES_MISSING} "These files of the PostScript printer driver are missing:$\r$\n$1$\r$\nCopy them there, then run this setup again. Nothing was changed."
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- install

Function .onInit
  Call DecideSystem
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOSAVE=" $AutoSave
  ${If} ${Errors}
    StrCpy $AutoSave ""
    StrCpy $R8 0
  ${Else}
    StrCpy $R8 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/TEMPLATE=" $Template
  ${If} ${Errors}
    StrCpy $Template ""
    StrCpy $R9 0
  ${Else}
    StrCpy $R9 1
  ${EndIf}
  !insertmacro Log "Plumeta ${VERSION} setup ($Family, 64-bit Windows: $Wow64)"
  Call CheckPrerequisites
FunctionEnd

Section "Plumeta"
  SetOverwrite on
  ClearErrors
  SetOutPath "$INSTDIR"
  File "${SHIPPED}\monitor\plumeta.exe"
  File "${SHIPPED}\setup\plumsetup.exe"
  File "${SHIPPED}\gsbridge\gsbridge.dll"
  File "${MANUAL}"
  File "${RELEASE}\readme.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${If} ${Errors}
    !insertmacro Stop ${EXIT_FILES_NOT_WRITTEN} "The programs could not be written to $INSTDIR."
  ${EndIf}

  !insertmacro NATIVE_FILES_ON
  ClearErrors
  ; Where the port's Command and the setup program's own copies look (a
  ; folder Windows 95/98/Me do not have of their own).
  CreateDirectory "$SystemFolder"
  CopyFiles /SILENT "$GsConsole" "$SystemFolder\gswin32c.exe"
  CopyFiles /SILENT "$GsDll" "$SystemFolder\$GsDllName"
  !insertmacro NATIVE_FILES_OFF
  ${If} $Wow64 == 1
  ${AndIf} $GsDllName == "gsdll32.dll"
    ; A 32-bit Ghostscript's console program runs under WOW64 even from the
    ; native system folder, and its library and the argument file are looked
    ; for in the 32-bit one.
    CopyFiles /SILENT "$GsConsole" "$WINDIR\SysWOW64\gswin32c.exe"
    CopyFiles /SILENT "$GsDll" "$WINDIR\SysWOW64\gsdll32.dll"
  ${EndIf}
  !insertmacro NATIVE_FILES_ON
  ; The printer description the driver registrations of NT 5 and later name,
  ; in the driver folder of each environment.
  ${If} $Family == "NT"
    SetOutPath "$SystemFolder\spool\drivers\w32x86"
    File "${RELEASE}\plumeta.ppd"
    ${If} $Wow64 == 1
      SetOutPath "$SystemFolder\spool\drivers\x64"
      File "${RELEASE}\plumeta.ppd"
    ${EndIf}
  ${EndIf}
  !insertmacro NATIVE_FILES_OFF
  SetOutPath "$INSTDIR"
  ${If} ${Errors}
    !insertmacro Stop ${EXIT_FILES_NOT_WRITTEN} "Ghostscript or the printer description could not be copied into $SystemFolder."
  ${EndIf}

  StrCpy $0 '"$INSTDIR\plumsetup.exe"'
  ${If} $R8 == 1
    StrCpy $0 '$0 /autosave "$AutoSave"'
  ${EndIf}
  ${If} $R9 == 1
    StrCpy $0 '$0 /template "$Template"'
  ${EndIf}
  ${If} ${Silent}
    ; Nobody may be there to dismiss plumsetup's error box: its reason goes
    ; into this log instead.
    StrCpy $0 '$0 /log "${LOG_FILE}"'
  ${EndIf}
  !insertmacro Log "Running $0"
  ClearErrors
  ExecWait $0 $1
  ${If} ${Errors}
  ${OrIf} $1 != 0
    !insertmacro Stop ${EXIT_SETUP_FAILED} "The printer could not be installed: plumsetup.exe ended with $1."
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Plumeta"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Plumeta"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\plumeta.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "GhostscriptDll" "$GsDllName"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  !insertmacro Log "Plumeta ${VERSION} is installed in $INSTDIR."
  SetErrorLevel 0
SectionEnd

; ---------------------------------------------------------------- uninstall

Function un.onInit
  Call un.DecideSystem
  !insertmacro Log "Plumeta ${VERSION} removal"
FunctionEnd

Section "Uninstall"
  ; The printer, its port, the start-up entry and the settings first; the
  ; programs stay when that fails, so that it can be run again.
  StrCpy $1 '"$INSTDIR\plumsetup.exe" 1024'
  ${If} ${Silent}
    StrCpy $1 '$1 /log "${LOG_FILE}"'
  ${EndIf}
  ClearErrors
  ExecWait $1 $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    !insertmacro Stop ${EXIT_SETUP_FAILED} "The printer could not be removed: plumsetup.exe 1024 ended with $0. Nothing else was removed."
  ${EndIf}

  ${If} $Wow64 == 1
    ; plumsetup.exe removes the driver of its own environment; the 64-bit
    ; one it registered beside it goes here.
    System::Call 'winspool.drv::DeletePrinterDriverA(p 0, t "Windows x64", t "Plumeta") i .r2'
  ${EndIf}

  Delete /REBOOTOK "$INSTDIR\plumeta.exe"
  Delete /REBOOTOK "$INSTDIR\plumsetup.exe"
  Delete /REBOOTOK "$INSTDIR\gsbridge.dll"
  Delete /REBOOTOK "$INSTDIR\manual.chm"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "GhostscriptDll"
  !insertmacro NATIVE_FILES_ON
  ; The argument files hold the users' passwords.
  Delete "$SystemFolder\plum.rsp"
  Delete "$SystemFolder\gswin32c.exe"
  ${If} $1 != ""
    Delete "$SystemFolder\$1"
  ${EndIf}
  Delete "$SystemFolder\spool\drivers\w32x86\plumeta.ppd"
  Delete "$SystemFolder\spool\drivers\w32x86\3\plumeta.ppd"
  ${If} $Wow64 == 1
    Delete "$SystemFolder\spool\drivers\x64\plumeta.ppd"
    Delete "$SystemFolder\spool\drivers\x64\3\plumeta.ppd"
  ${EndIf}
  !insertmacro NATIVE_FILES_OFF
  ${If} $Wow64 == 1
    ; The 32-bit programs' own copy of the argument file, and a 32-bit
    ; Ghostscript's copies.
    Delete "$WINDIR\SysWOW64\plum.rsp"
    ${If} $1 == "gsdll32.dll"
      Delete "$WINDIR\SysWOW64\gswin32c.exe"
      Delete "$WINDIR\SysWOW64\gsdll32.dll"
    ${EndIf}
  ${EndIf}
  ${If} $Family != "NT"
    ; The setup program's copies of Ghostscript on the old systems.
    Delete "$WINDIR\gswin32c.exe"
    Delete "$WINDIR\gsdll32.dll"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  !insertmacro Log "Plumeta ${VERSION} is removed; the PDF files made with it stay."
  SetErrorLevel 0
SectionEnd
