; StratigonSetup.exe: installs the KVX Stratigon Utility for every user of the PC.
;
;   makensis -DVERSION=<a.b.c.d> -DSTAGE=<folder of the files> -DOUTFILE=<setup.exe> -DICON=<icon> Stratigon.nsi
;
; Command line of the setup: /S installs silently, /SimulatedBench also installs the simulated
; bench (the "Simulated bench" component), /D=<folder> chooses the folder (last, unquoted).
; The uninstaller takes /S as well. It takes off what the setup put on and nothing else: every
; value the setup needs to know that is kept in the program's uninstall key.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!ifndef VERSION | STAGE | OUTFILE | ICON
  !error "Give -DVERSION=<a.b.c.d>, -DSTAGE=<folder of the files>, -DOUTFILE=<setup.exe> and -DICON=<icon>"
!endif

!define PRODUCT "KVX Stratigon Utility"
!define PUBLISHER "Quorvalis Instruments"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; Where the instrument application keeps its help; the program looks for its help there first.
!define HELP_ROOT "C:\Quorvalis"
!define HELP_FOLDER "${HELP_ROOT}\KVXAnalyzer\System"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

; The automation samples, with the interface's IDL, header and identifiers they build with.
!macro SampleFiles command folder
  ${command} "${folder}UpgradeBySerial.vbs"
  ${command} "${folder}UpgradeBySerial.cpp"
  ${command} "${folder}Inventory.vbs"
  ${command} "${folder}inventory.js"
  ${command} "${folder}Stratigon.idl"
  ${command} "${folder}Stratigon.h"
  ${command} "${folder}Stratigon_i.c"
!macroend

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Stratigon.exe"
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Files in use cannot be replaced or removed: a running program is closed by its user first.
; Silent runs end with exit code 2 instead.
!macro WaitForProgramToClose un
Function ${un}WaitForProgramToClose
  ${Do}
    FindWindow $0 "#32770" "${PRODUCT}"
    ${If} $0 == 0
      FindWindow $0 "#32770" "Stratigon - Scanning"
    ${EndIf}
    ${If} $0 == 0
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "The ${PRODUCT} is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY +3
    SetErrorLevel 2
    Quit
  ${Loop}
FunctionEnd
!macroend
!insertmacro WaitForProgramToClose ""
!insertmacro WaitForProgramToClose "un."

; The program, its help, the command-line tool, the samples and the README.
Section "!${PRODUCT}" SecProgram
  SectionIn RO
  SetShellVarContext all
  Call WaitForProgramToClose
  ; An earlier installation's server goes first, so that the registration written below is
  ; the only one.
  ${If} ${FileExists} "$INSTDIR\Stratigon.exe"
    ExecWait '"$INSTDIR\Stratigon.exe" /UnregServer'
  ${EndIf}

  SetOutPath "$INSTDIR"
  File "${STAGE}\Stratigon.exe"
  File "${STAGE}\Stratigon.chm"
  File "${STAGE}\stratigon-cli.exe"
  File "${STAGE}\README.md"
  SetOutPath "$INSTDIR\Samples"
  !insertmacro SampleFiles File "${STAGE}\Samples\"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  Call InstallHelpInSystemFolder

  DetailPrint "Registering the automation server"
  ClearErrors
  ExecWait '"$INSTDIR\Stratigon.exe" /RegServer' $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "Stratigon.exe /RegServer failed (exit code $0): scripts cannot reach the program through automation until it is registered." /SD IDOK
    SetErrorLevel 2
  ${EndIf}

  CreateShortcut "${SHORTCUT}" "$INSTDIR\Stratigon.exe" "" "$INSTDIR\Stratigon.exe" 0 SW_SHOWNORMAL "" "Show the VXI modules and install their upgrades"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Stratigon.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" 4
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" 3
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The simulated bench answers as VISA library beside the program, in place of the one the PC
; has: off unless asked for.
Section /o "Simulated bench" SecBench
  SetOutPath "$INSTDIR"
  File "${STAGE}\Simulated bench\visa32.dll"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "SimulatedBench" 1
SectionEnd

; An installation over one with the simulated bench, without it now: the PC's own VISA library
; serves again.
Section "-RemoveDeselectedBench"
  ${IfNot} ${SectionIsSelected} ${SecBench}
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "SimulatedBench"
    ${If} $0 == 1
      Delete "$INSTDIR\visa32.dll"
      DeleteRegValue HKLM "${UNINSTALL_KEY}" "SimulatedBench"
    ${EndIf}
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The program, its help, the command-line tool stratigon-cli, the automation samples, and the automation server's registration."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecBench} "A simulated VXI bench installed as the program's VISA library. Only for PCs without VXI hardware: it takes the place of the VISA library installed on this PC."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} needs 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  ; The bench stays chosen when it was installed before, and /SimulatedBench chooses it.
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "SimulatedBench"
  ${If} $0 == 1
    !insertmacro SelectSection ${SecBench}
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/SimulatedBench" $2
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecBench}
  ${EndIf}
FunctionEnd

; Copies the help into the instrument application's System folder. Which of its folders the
; setup made, and whether a help file was there before, is kept for the uninstaller; an
; installation over an earlier one keeps the earlier record.
Function InstallHelpInSystemFolder
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "HelpFoldersCreated"
  ${If} $0 == ""
    ${If} ${FileExists} "${HELP_ROOT}\*.*"
      ${If} ${FileExists} "${HELP_ROOT}\KVXAnalyzer\*.*"
        ${If} ${FileExists} "${HELP_FOLDER}\*.*"
          StrCpy $0 "none"
        ${Else}
          StrCpy $0 "${HELP_FOLDER}"
        ${EndIf}
      ${Else}
        StrCpy $0 "${HELP_ROOT}\KVXAnalyzer"
      ${EndIf}
    ${Else}
      StrCpy $0 "${HELP_ROOT}"
    ${EndIf}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "HelpFoldersCreated" $0
    ${If} ${FileExists} "${HELP_FOLDER}\Stratigon.chm"
      WriteRegDWORD HKLM "${UNINSTALL_KEY}" "HelpFileKept" 1
    ${EndIf}
  ${EndIf}
  SetOutPath "${HELP_FOLDER}"
  File "${STAGE}\Stratigon.chm"
  SetOutPath "$INSTDIR"
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Call un.WaitForProgramToClose
  ExecWait '"$INSTDIR\Stratigon.exe" /UnregServer'

  Delete "${SHORTCUT}"

  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "HelpFileKept"
  ${If} $0 != 1
    Delete "${HELP_FOLDER}\Stratigon.chm"
  ${EndIf}
  ; The folders the setup made go when they are empty, from the innermost up to the first.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "HelpFoldersCreated"
  ${If} $0 != ""
  ${AndIf} $0 != "none"
    StrCpy $1 "${HELP_FOLDER}"
    ${Do}
      RMDir "$1"
      ${If} $1 == $0
        ${Break}
      ${EndIf}
      ${GetParent} "$1" $1
    ${LoopUntil} $1 == ""
  ${EndIf}

  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "SimulatedBench"
  ${If} $0 == 1
    Delete "$INSTDIR\visa32.dll"
  ${EndIf}
  Delete "$INSTDIR\Stratigon.exe"
  Delete "$INSTDIR\Stratigon.chm"
  Delete "$INSTDIR\stratigon-cli.exe"
  Delete "$INSTDIR\README.md"
  !insertmacro SampleFiles Delete "$INSTDIR\Samples\"
  RMDir "$INSTDIR\Samples"
  Delete "$INSTDIR\Uninstall.exe"
  ; Files someone else put there keep the folder.
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
