; Installer of Vantory Note: a per-user install that needs no administrator rights.
;
; Built by the normal Windows build (packaging/CMakeLists.txt) with
;   makensis -DVN_VERSION=1.32 -DVN_EXE=... -DVN_TILE=... -DVN_ICON=... -DVN_OUTFILE=... VantoryNote.nsi
;
; The program goes to %LOCALAPPDATA%\Programs\Vantory Note (the per-user program
; folder), its shortcuts to the user's Start menu and, when chosen, the user's Startup
; folder; Add/Remove Programs finds it under HKCU. The notes live elsewhere, in
; %LOCALAPPDATA%\Vantory Note\, and neither the installer nor the uninstaller touches
; them.
;
; The program reads its tile picture hig.png from the current folder, so every
; shortcut sets the install folder as its working folder. That is also why starting
; at logon is a shortcut in the Startup folder and not a Run key: a Run key has no
; working folder, and the program would start in System32 without its picture.

Unicode true
; The program is 64-bit only; so is its installer.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
; The program's own version resource has no copyright line either.
!pragma warning disable 9100

!macro REQUIRE NAME
  !ifndef ${NAME}
    !error "${NAME} must be given with -D${NAME}=..."
  !endif
!macroend
!insertmacro REQUIRE VN_VERSION
!insertmacro REQUIRE VN_EXE
!insertmacro REQUIRE VN_TILE
!insertmacro REQUIRE VN_ICON
!insertmacro REQUIRE VN_OUTFILE

!define PRODUCT "Vantory Note"
!define EXE "VantoryNote.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The program's single-instance guard and the class of its hidden main window.
!define GUARD_MUTEX "VantoryNote"
!define MAIN_CLASS "TFMain"
!define SYNCHRONIZE 0x00100000

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

Name "${PRODUCT} ${VN_VERSION}"
OutFile "${VN_OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An update goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VN_VERSION}"

VIProductVersion "${VN_VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VN_VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VN_VERSION}.0.0"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VN_VERSION} Setup"

!define MUI_ICON "${VN_ICON}"
!define MUI_UNICON "${VN_ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TEXT "This installs ${PRODUCT} ${VN_VERSION} for you alone; it needs no administrator rights.$\r$\n$\r$\n${PRODUCT} lives in the notification area and sticks notes onto the windows of other programs.$\r$\n$\r$\nIf ${PRODUCT} is running, Setup closes it first (its notes are saved).$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!define MUI_FINISHPAGE_TEXT "${PRODUCT} has been installed.$\r$\n$\r$\nIts icon is in the notification area at the bottom right of the screen (it may be among the hidden icons behind the arrow). Right-click it and choose $\"Add a Note$\"."
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "${PRODUCT} will be removed from the folder below. Your notes stay in $LOCALAPPDATA\${PRODUCT}; delete that folder yourself if you no longer want them."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Asks a running Vantory Note to close the normal way (its notes are saved) and waits
; until it has: the program gives up its guard only after its final save, and its
; file can be replaced or removed only once the process has ended.
!macro CLOSE_RUNNING_PROGRAM UN
Function ${UN}CloseRunningProgram
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${GUARD_MUTEX}") p .r0'
  ${If} $0 P= 0
    Return
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p r0)'
  DetailPrint "Closing ${PRODUCT}; it saves its notes first..."
  ${Do}
    ; Closing the hidden main window is what the tray menu's Quit does.
    FindWindow $1 "${MAIN_CLASS}"
    ${If} $1 <> 0
      SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    StrCpy $2 0
    ${Do}
      Sleep 250
      IntOp $2 $2 + 1
      System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${GUARD_MUTEX}") p .r0'
      ${If} $0 P= 0
        ${Break}
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r0)'
    ${LoopUntil} $2 >= 120
    ${If} $0 P= 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running.$\r$\n$\r$\nQuit it from its tray menu (right-click its icon, choose Quit), then choose Retry." /SD IDCANCEL IDRETRY +2
    Abort "${PRODUCT} is still running."
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_PROGRAM ""
!insertmacro CLOSE_RUNNING_PROGRAM "un."

; Deletes a file that the ended program may hold open for a moment more.
!macro DELETE_WHEN_FREE FILE
  StrCpy $2 0
  ${Do}
    ClearErrors
    Delete "${FILE}"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    IntOp $2 $2 + 1
    ${If} $2 >= 40
      Abort "${FILE} cannot be replaced: is ${PRODUCT} still running?"
    ${EndIf}
    Sleep 250
  ${Loop}
!macroend

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call CloseRunningProgram
  ; The working folder of every shortcut below is the output folder.
  SetOutPath "$INSTDIR"
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\${EXE}"
  File "/oname=${EXE}" "${VN_EXE}"
  File "/oname=hig.png" "${VN_TILE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" "Sticky notes on the windows of other programs"
  ; An earlier install may have started the program at logon; this one decides anew.
  Delete "$SMSTARTUP\${PRODUCT}.lnk"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VN_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start with Windows" SecStartup
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMSTARTUP\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" "Sticky notes on the windows of other programs"
SectionEnd

Function StartProgram
  ; Started with the install folder as its current folder, where its tile picture is.
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\${EXE}"'
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningProgram
  ; First what can fail, so that a program that will not end leaves the install whole.
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\${EXE}"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$SMSTARTUP\${PRODUCT}.lnk"
  Delete "$INSTDIR\hig.png"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only the files put there: the folder goes if nothing else is in it.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
