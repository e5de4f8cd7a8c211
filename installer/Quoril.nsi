; Quoril's installer, for every user of the machine. The program runs elevated, so it goes where
; only administrators can write (the 64-bit Program Files) and nowhere else: there is no folder
; page, and a folder given with /D is not taken.
;
; makensis -DVERSION=x.y.z -DPROGRAM=<signed Quoril.exe> -DOUTFILE=<setup.exe>
;          -DSIGN_SCRIPT=<tools/sign.sh> -DSIGN_DIR=<its certificate folder>
; The uninstaller is signed before it is packed, the installer once it is written.
Unicode true
; Windows x86-64: the installer and the uninstaller are 64-bit programs too.
Target amd64-unicode

!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quoril"
!define SETTINGS_KEY "Software\Quoril"

Name "Quoril ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quoril"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Quoril"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Quoril ${VERSION} Setup"
VIAddVersionKey "CompanyName" "Quoril"
VIAddVersionKey "LegalCopyright" "Quoril"

!uninstfinalize '"${SIGN_SCRIPT}" "%1" "${SIGN_DIR}"' = 0
!finalize '"${SIGN_SCRIPT}" "%1" "${SIGN_DIR}"' = 0

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext all
  SetRegView 64
  StrCpy $INSTDIR "$PROGRAMFILES64\Quoril"
FunctionEnd

Section "Quoril"
  SetOutPath "$INSTDIR"
  File "/oname=Quoril.exe" "${PROGRAM}"
  File "/oname=THIRD-PARTY-NOTICES.md" "${NOTICES}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quoril.lnk" "$INSTDIR\Quoril.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quoril"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quoril"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quoril.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

; The DNS servers Quoril set stay in force after it is gone unless it puts back the ones it saved
; (one subkey per user under SavedDns). A restore that fails stops the uninstall, so the user keeps
; the program that can still put them back; interactively they may remove it anyway.
Function un.RestoreSavedDns
  EnumRegKey $0 HKLM "${SETTINGS_KEY}\SavedDns" 0
  ${If} $0 == ""
    Return
  ${EndIf}
  DetailPrint "Putting back the DNS settings saved before Quoril changed them"
  ClearErrors
  ExecWait '"$INSTDIR\Quoril.exe" /restore /quiet' $1
  ${If} ${Errors}
    StrCpy $1 "not started"
  ${ElseIf} $1 == 0
    Return
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "Quoril could not put back the DNS settings it saved \
    (exit code: $1). The DNS servers Quoril set are still in force.$\r$\n$\r$\nRemove Quoril anyway?" \
    /SD IDNO IDYES removeAnyway
  Abort "Quoril could not put back the saved DNS settings (exit code: $1): nothing was removed."
  removeAnyway:
FunctionEnd

Section "Uninstall"
  Call un.RestoreSavedDns
  Delete "$INSTDIR\Quoril.exe"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.md"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Quoril.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
SectionEnd
