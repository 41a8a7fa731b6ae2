; What the Windows installer adds to CPack's own: the Start-menu folder's name, version
; information, a command prompt for velk-ctl and velk-monitor, the Uninstall entry's size, and
; the minute sync as a service on a COM port the user names (an optional component).
; VELK_VERSION and VELK_VERSION4 come from cmake/cpack-generators.cmake.

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"

!define MUI_STARTMENUPAGE_DEFAULTFOLDER "VELK-Pro"
!define VELK_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VELK-Pro"

VIProductVersion "${VELK_VERSION4}"
VIFileVersion "${VELK_VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "VELK-Pro"
VIAddVersionKey /LANG=1033 "CompanyName" "VELK-Pro team"
VIAddVersionKey /LANG=1033 "FileDescription" "VELK-Pro installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VELK_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VELK_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "No licence has been chosen yet; all rights reserved."

Var VelkSyncPort
Var VelkSyncField

; Chosen on the components page; off unless chosen. A silent install takes it with /SYNCPORT=COMn.
Section /o "Minute sync as a Windows service" VelkSyncSection
  ${If} $VelkSyncPort == ""
    StrCpy $VelkSyncPort "COM1"
  ${EndIf}
SectionEnd

Section "-Silent choice of the sync service"
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/SYNCPORT=" $R1
  ${IfNot} ${Errors}
  ${AndIf} $R1 != ""
    StrCpy $VelkSyncPort $R1
  ${EndIf}
SectionEnd

!macro VelkPages
  !insertmacro MUI_PAGE_COMPONENTS
  Page custom VelkSyncPortPage VelkSyncPortLeave
!macroend

Function VelkSyncPortPage
  ${IfNot} ${SectionIsSelected} ${VelkSyncSection}
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Minute sync" "The COM port of the displays"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "The service $\"VELK-Pro sync COMn$\" starts with Windows and sends the PC clock to the displays on that port at the start of every minute. Only one program can drive a port: stop the service before connecting the panel to the same port."
  Pop $0
  ${NSD_CreateLabel} 0 44u 60u 12u "COM port:"
  Pop $0
  ${If} $VelkSyncPort == ""
    StrCpy $VelkSyncPort "COM1"
  ${EndIf}
  ${NSD_CreateText} 62u 42u 60u 12u "$VelkSyncPort"
  Pop $VelkSyncField
  nsDialogs::Show
FunctionEnd

Function VelkSyncPortLeave
  ${NSD_GetText} $VelkSyncField $VelkSyncPort
FunctionEnd

; After the files: the Uninstall entry's size, and the service when chosen.
!macro VelkAfterInstall
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${VELK_UNINSTALL_KEY}" "EstimatedSize" "$0"
  ${If} $VelkSyncPort != ""
    nsExec::ExecToStack '"$INSTDIR\bin\velk-ctl.exe" --port $VelkSyncPort service install'
    Pop $0
    Pop $1
    DetailPrint "$1"
    ${If} $0 == 0
      WriteRegStr SHCTX "${VELK_UNINSTALL_KEY}" "SyncServicePort" "$VelkSyncPort"
      nsExec::ExecToLog '"$SYSDIR\net.exe" start "VELK-Pro sync $VelkSyncPort"'
      Pop $0
    ${Else}
      MessageBox MB_OK|MB_ICONEXCLAMATION "The minute sync service was not installed:$\n$1" /SD IDOK
    ${EndIf}
  ${EndIf}
!macroend

; Before the files go: the service installed with them, so velk-ctl.exe can still remove it.
!macro VelkBeforeUninstall
  ReadRegStr $0 SHCTX "${VELK_UNINSTALL_KEY}" "SyncServicePort"
  ${If} $0 != ""
    nsExec::ExecToLog '"$INSTDIR\bin\velk-ctl.exe" --port $0 service remove'
    Pop $1
  ${EndIf}
!macroend

; A console in which velk-ctl and velk-monitor are found by name.
!macro VelkCreateIcons
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\VELK-Pro command prompt.lnk" "$SYSDIR\cmd.exe" '/k set "PATH=$INSTDIR\bin;%PATH%"'
!macroend

!macro VelkDeleteIcons
  Delete "$SMPROGRAMS\$MUI_TEMP\VELK-Pro command prompt.lnk"
!macroend
