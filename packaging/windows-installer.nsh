; What the Windows installer adds to CPack's own: the Start-menu folder's name, version
; information, a command prompt for velk-ctl and velk-monitor, the Uninstall entry's size and
; number values, the licence page's words for the third-party notices, and two optional
; components: the minute sync as a service on a COM port the user names, and the bridge to an
; MQTT broker as a service.
; VELK_VERSION and VELK_VERSION4 come from cmake/cpack-generators.cmake.

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"

!define MUI_STARTMENUPAGE_DEFAULTFOLDER "VELK-Pro"
; The components' captions are long: the tree takes the page's width, the description below it.
!define MUI_COMPONENTSPAGE_SMALLDESC
; VELK-Pro has no licence of its own yet: the page shows the libraries' notices, nothing to agree.
!define MUI_LICENSEPAGE_TEXT_TOP "Notices of the third-party libraries that come with VELK-Pro"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "VELK-Pro's own licence has not been chosen yet. The libraries above keep theirs; the notices are installed as THIRD-PARTY-NOTICES.txt beside the programs."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define VELK_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VELK-Pro"

VIProductVersion "${VELK_VERSION4}"
VIFileVersion "${VELK_VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "VELK-Pro"
VIAddVersionKey /LANG=1033 "CompanyName" "VELK-Pro team"
VIAddVersionKey /LANG=1033 "FileDescription" "VELK-Pro installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VELK_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VELK_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "No licence has been chosen yet; all rights reserved."

Var VelkSyncChosen
Var VelkSyncPort
Var VelkSyncField
Var VelkBridgeChosen
Var VelkBridgePort
Var VelkBroker
Var VelkCredentials
Var VelkBridgePortField
Var VelkBrokerField
Var VelkCredentialsField

; Off unless chosen. Only a section the user left ticked runs, so only its choice counts: what
; its page holds is not a choice once the component is unticked. A silent install takes the sync
; with /SYNCPORT=COMn, the bridge with /BRIDGEPORT=COMn /BROKER=URL /CREDENTIALS=FILE.
Section /o "Minute sync as a Windows service" VelkSyncSection
  StrCpy $VelkSyncChosen 1
SectionEnd

Section /o "Displays on an MQTT broker (bridge) as a Windows service" VelkBridgeSection
  StrCpy $VelkBridgeChosen 1
SectionEnd

Section "-Silent choices of the services"
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/SYNCPORT=" $R1
  ${IfNot} ${Errors}
  ${AndIf} $R1 != ""
    StrCpy $VelkSyncPort $R1
    StrCpy $VelkSyncChosen 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/BRIDGEPORT=" $R1
  ${IfNot} ${Errors}
  ${AndIf} $R1 != ""
    StrCpy $VelkBridgePort $R1
    StrCpy $VelkBridgeChosen 1
    ${GetOptions} $R0 "/BROKER=" $VelkBroker
    ${GetOptions} $R0 "/CREDENTIALS=" $VelkCredentials
  ${EndIf}
SectionEnd

; Shown below the components when the pointer is on one; inserted after the pages.
!macro VelkComponentDescriptions
  !insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${VelkSyncSection} "Sends the PC clock to the displays on one COM port at the start of every minute, from when Windows starts: the service $\"VELK-Pro sync COMn$\"."
    !insertmacro MUI_DESCRIPTION_TEXT ${VelkBridgeSection} "Lets the building's MQTT broker reach the displays on one COM port: titles, clears, the time and the sync, from when Windows starts: the service $\"VELK-Pro bridge COMn$\"."
  !insertmacro MUI_FUNCTION_DESCRIPTION_END
!macroend

!macro VelkPages
  !define MUI_PAGE_CUSTOMFUNCTION_SHOW VelkComponentsShow
  !insertmacro MUI_PAGE_COMPONENTS
  Page custom VelkSyncPortPage VelkSyncPortLeave
  Page custom VelkBridgePage VelkBridgeLeave
!macroend

; The components' captions in full: the list takes the page's width, its label above it gone
; (the page's header says what to do).
Function VelkComponentsShow
  FindWindow $0 "#32770" "" $HWNDPARENT
  GetDlgItem $1 $0 1022
  ShowWindow $1 ${SW_HIDE}
  GetDlgItem $1 $0 1032
  System::Call "*(i 0, i 0, i 0, i 0) p .r2"
  System::Call "user32::GetWindowRect(p r1, p r2)"
  System::Call "user32::MapWindowPoints(p 0, p r0, p r2, i 2)"
  System::Call "*$2(i .r3, i .r4, i .r5, i .r6)"
  System::Free $2
  IntOp $6 $6 - $4
  System::Call "user32::MoveWindow(p r1, i 0, i r4, i r5, i r6, i 1)"
FunctionEnd

; $0: what the user typed. $1 on return: empty when it names a COM port (COM1 to COM256),
; otherwise why not.
Function VelkCheckComPort
  StrCpy $1 ""
  StrCpy $2 $0 3
  StrCpy $3 $0 "" 3
  IntOp $4 $3 + 0
  ${If} $2 != "COM"
  ${OrIf} "$4" != "$3"
  ${OrIf} $4 < 1
  ${OrIf} $4 > 256
    StrCpy $1 "$\"$0$\" is not a COM port: expected COM1 to COM256, as Device Manager names it."
  ${EndIf}
FunctionEnd

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
  ${NSD_GetText} $VelkSyncField $0
  Call VelkCheckComPort
  ${If} $1 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "$1"
    Abort
  ${EndIf}
  StrCpy $VelkSyncPort $0
FunctionEnd

Function VelkBridgePage
  ${IfNot} ${SectionIsSelected} ${VelkBridgeSection}
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Bridge" "The displays' COM port and the MQTT broker"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 30u "The service $\"VELK-Pro bridge COMn$\" starts with Windows, owns the displays on that port and takes their commands from the broker. The credentials file holds the user on its first line and the password on its second; only SYSTEM, Administrators and its owner may read it."
  Pop $0
  ${If} $VelkBridgePort == ""
    StrCpy $VelkBridgePort "COM1"
  ${EndIf}
  ${NSD_CreateLabel} 0 38u 70u 12u "COM port:"
  Pop $0
  ${NSD_CreateText} 72u 36u 60u 12u "$VelkBridgePort"
  Pop $VelkBridgePortField
  ${NSD_CreateLabel} 0 56u 70u 12u "Broker URL:"
  Pop $0
  ${NSD_CreateText} 72u 54u 100%-72u 12u "$VelkBroker"
  Pop $VelkBrokerField
  ${NSD_CreateLabel} 0 74u 70u 12u "Credentials file:"
  Pop $0
  ${NSD_CreateText} 72u 72u 100%-72u 12u "$VelkCredentials"
  Pop $VelkCredentialsField
  ${NSD_CreateLabel} 72u 88u 100%-72u 12u "for example mqtts://broker.example:8883"
  Pop $0
  nsDialogs::Show
FunctionEnd

Function VelkBridgeLeave
  ${NSD_GetText} $VelkBridgePortField $0
  Call VelkCheckComPort
  ${If} $1 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "$1"
    Abort
  ${EndIf}
  ${If} ${SectionIsSelected} ${VelkSyncSection}
  ${AndIf} $0 == $VelkSyncPort
    MessageBox MB_OK|MB_ICONEXCLAMATION "$0 has the minute sync already: one program drives a port. The bridge runs the sync itself; untick the minute sync or choose another port."
    Abort
  ${EndIf}
  StrCpy $VelkBridgePort $0
  ${NSD_GetText} $VelkBrokerField $VelkBroker
  StrCpy $1 $VelkBroker 7
  StrCpy $2 $VelkBroker 8
  ${If} $1 != "mqtt://"
  ${AndIf} $2 != "mqtts://"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Expected the broker as mqtt://HOST[:PORT] or mqtts://HOST[:PORT]."
    Abort
  ${EndIf}
  ${NSD_GetText} $VelkCredentialsField $VelkCredentials
  ${IfNot} ${FileExists} "$VelkCredentials"
    MessageBox MB_OK|MB_ICONEXCLAMATION "There is no credentials file $\"$VelkCredentials$\"."
    Abort
  ${EndIf}
FunctionEnd

; $0: the arguments of velk-ctl that install the service; $1: its name. Installs and starts it,
; or says why not.
Function VelkInstallService
  nsExec::ExecToStack '"$INSTDIR\bin\velk-ctl.exe" $0'
  Pop $2
  Pop $3
  DetailPrint "$3"
  ${If} $2 == 0
    nsExec::ExecToLog '"$SYSDIR\net.exe" start "$1"'
    Pop $2
  ${Else}
    MessageBox MB_OK|MB_ICONEXCLAMATION "The service $\"$1$\" was not installed:$\n$3" /SD IDOK
    StrCpy $2 1
  ${EndIf}
FunctionEnd

; After the files: the Uninstall entry's size and number values, and the services chosen.
!macro VelkAfterInstall
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${VELK_UNINSTALL_KEY}" "EstimatedSize" "$0"
  ; Windows reads these as numbers; CPack writes them as text.
  WriteRegDWORD SHCTX "${VELK_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${VELK_UNINSTALL_KEY}" "NoRepair" 1
  Call VelkInstallChosenServices
!macroend

Function VelkInstallChosenServices
  ${If} $VelkSyncChosen == 1
    ${If} $VelkSyncPort == ""
      StrCpy $VelkSyncPort "COM1"
    ${EndIf}
    StrCpy $0 '--port $VelkSyncPort service install'
    StrCpy $1 "VELK-Pro sync $VelkSyncPort"
    Call VelkInstallService
    ${If} $2 == 0
      WriteRegStr SHCTX "${VELK_UNINSTALL_KEY}" "SyncServicePort" "$VelkSyncPort"
    ${EndIf}
  ${EndIf}
  ${If} $VelkBridgeChosen == 1
    StrCpy $0 '--port $VelkBridgePort service install bridge --broker "$VelkBroker" --credentials "$VelkCredentials"'
    StrCpy $1 "VELK-Pro bridge $VelkBridgePort"
    Call VelkInstallService
    ${If} $2 == 0
      WriteRegStr SHCTX "${VELK_UNINSTALL_KEY}" "BridgeServicePort" "$VelkBridgePort"
    ${EndIf}
  ${EndIf}
FunctionEnd

; Before the files go: the services installed with them, so velk-ctl.exe can still remove them.
!macro VelkBeforeUninstall
  ReadRegStr $0 SHCTX "${VELK_UNINSTALL_KEY}" "SyncServicePort"
  ${If} $0 != ""
    nsExec::ExecToLog '"$INSTDIR\bin\velk-ctl.exe" --port $0 service remove'
    Pop $1
  ${EndIf}
  ReadRegStr $0 SHCTX "${VELK_UNINSTALL_KEY}" "BridgeServicePort"
  ${If} $0 != ""
    nsExec::ExecToLog '"$INSTDIR\bin\velk-ctl.exe" --port $0 service remove bridge'
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
