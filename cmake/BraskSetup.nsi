; Brask's Windows installer, a native 64-bit NSIS installer. scripts/package builds it on Linux
; from a staged `cmake --install` of the Windows build:
;   makensis -DVERSION=<x.y.z> -DSTAGE=<staged folder> -DOUTFILE=<setup.exe> BraskSetup.nsi
;
; It installs the VST 3 bundle into Common Files\VST3, the folder every VST 3 host scans, and,
; as optional components, the CLAP module Brask.clap into Common Files\CLAP, the folder CLAP
; hosts scan, and the VST 2 module Brask.dll into a folder the user chooses: that folder is
; $INSTDIR, so /D= sets it. The factory presets go to ProgramData\VST3 Presets\Wyrdworks\Brask,
; where VST 3 hosts look for a plug-in's presets: the .vstpreset files with the VST 3 plug-in,
; the .fxp files beside them with the VST 2 module. The uninstaller, read-me and licence go to
; Program Files\Wyrdworks\Brask, and Add/Remove Programs lists the installation.
;
;   Brask-<version>-windows-x64-setup.exe [/S] [/NOVST2] [/NOCLAP] [/D=C:\path\to\VST2 folder]
;     /S       silent      /NOVST2  leave the VST 2 module out (and remove an installed one)
;                          /NOCLAP  leave the CLAP module out (and remove an installed one)
;     /D=      the VST 2 folder (default: the previous one, else Program Files\VSTPlugins);
;              it must come last and stay unquoted, even with spaces
;   Exit code 2: a target folder cannot be created or written; nothing was installed.
;
; Installing over an earlier version replaces it in place: the old bundle is removed first,
; and a VST 2 module left in another folder goes. Folders are removed on uninstall only when
; this installer created them (recorded in the registry), so folders that existed stay. The
; preset folder is Brask's own: its preset files are replaced on install and removed on
; uninstall.

Unicode true
Target amd64-unicode
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brask"
!define APP_DIR "$PROGRAMFILES64\Wyrdworks\Brask"
!define VST3_DIR "$COMMONFILES64\VST3"
!define CLAP_DIR "$COMMONFILES64\CLAP"
; $APPDATA is ProgramData once the shell folders are the common ones (SetShellVarContext all).
!define PRESET_DIR "$APPDATA\VST3 Presets\Wyrdworks\Brask"

Name "Brask ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\VSTPlugins"
InstallDirRegKey HKLM "${UNINST_KEY}" "Vst2Folder"
BrandingText "Wyrdworks"
VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "Brask"
VIAddVersionKey CompanyName "Wyrdworks"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "Brask ${VERSION} setup"
VIAddVersionKey LegalCopyright "Wyrdworks; GPL-3.0-or-later"

; The previous installation, from its registry key.
Var OldVst2Folder
Var OldVst2Top
Var OldVst3Top
Var OldClapTop
Var OldAppTop
Var OldPresetTop
; The topmost folder this installer created for each target ("" when the folder existed).
Var Vst2Top
Var Vst3Top
Var ClapTop
Var AppTop
Var PresetTop

!define MUI_ABORTWARNING
; The GPL is no end-user agreement: it is shown, not accepted.
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Brask is free software under the GNU General Public License, \
  version 3 or later. You need not accept it to use Brask; it sets the terms for sharing and \
  changing it."
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE"
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_HEADER_TEXT "VST 2 plug-in folder"
!define MUI_PAGE_HEADER_SUBTEXT "Choose where your host looks for VST 2 plug-ins."
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup puts the VST 2 module Brask.dll into this folder. \
  The VST 3 plug-in always goes to $COMMONFILES64\VST3, where every VST 3 host looks."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "VST 2 plug-in folder"
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipUnlessVst2
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE RefuseUnwritableVst2Folder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Folder helpers, for the installer and (prefixed un.) the uninstaller.
!macro FolderFunctions prefix
  ; $R0: a folder. Sets $R1 to its topmost missing ancestor (itself included), "" if it exists.
  Function ${prefix}TopMissing
    StrCpy $R1 ""
    StrCpy $R2 $R0
    ${DoWhile} $R2 != ""
      ${If} ${FileExists} "$R2\*.*"
        ${Break}
      ${EndIf}
      StrCpy $R1 $R2
      ${GetParent} $R2 $R2
    ${Loop}
  FunctionEnd

  ; $R0: a folder, $R1: the topmost folder created for it. Removes the empty ones from $R0 up
  ; to $R1; nothing when $R1 is "".
  Function ${prefix}RemoveCreated
    ${If} $R1 == ""
      Return
    ${EndIf}
    StrCpy $R2 $R0
    ${DoWhile} $R2 != ""
      RMDir $R2
      ${If} $R2 == $R1
        ${Break}
      ${EndIf}
      ${GetParent} $R2 $R2
    ${Loop}
  FunctionEnd
!macroend
!insertmacro FolderFunctions ""
!insertmacro FolderFunctions "un."

; $R0: a folder. Sets $R3 to "" when files can be created in it, else to the reason. Folders
; that the test itself created are removed again.
Function CheckWritable
  Call TopMissing
  ClearErrors
  CreateDirectory $R0
  ${If} ${Errors}
    StrCpy $R3 "it cannot be created"
  ${Else}
    ClearErrors
    FileOpen $R4 "$R0\brask-setup-write-test.tmp" w
    ${If} ${Errors}
      StrCpy $R3 "files cannot be written there"
    ${Else}
      FileClose $R4
      Delete "$R0\brask-setup-write-test.tmp"
      StrCpy $R3 ""
    ${EndIf}
  ${EndIf}
  Call RemoveCreated
FunctionEnd

; Stops before anything is installed, with the message in $R9: a message box when interactive,
; and standard error too, since a silent install has no window to show it in.
Function Fail
  DetailPrint $R9
  MessageBox MB_ICONSTOP|MB_OK $R9 /SD IDOK
  System::Call 'kernel32::AttachConsole(i -1)'
  System::Call 'kernel32::GetStdHandle(i -12) p .R4'
  ${If} $R4 != 0
  ${AndIf} $R4 != -1
    StrCpy $R5 "Brask setup: $R9$\r$\n"
    StrLen $R6 $R5
    System::Call 'kernel32::WriteFile(p R4, m R5, i R6, *i .R7, p 0)'
  ${EndIf}
  SetErrorLevel 2
  Quit
FunctionEnd

Function RefuseUnwritableVst2Folder
  StrCpy $R0 $INSTDIR
  Call CheckWritable
  ${If} $R3 != ""
    MessageBox MB_ICONSTOP|MB_OK "Brask cannot be installed into $INSTDIR: $R3. Please choose \
      another VST 2 folder."
    Abort
  ${EndIf}
FunctionEnd

; Every target is checked before the first file is written, so a refused folder leaves nothing.
Section "-Check the target folders"
  Call CheckTargets
SectionEnd

Section "VST 3 plug-in" SecVst3
  SectionIn RO
  StrCpy $R0 "${VST3_DIR}"
  Call TopMissing
  StrCpy $Vst3Top $R1
  ${If} $Vst3Top == ""
    StrCpy $Vst3Top $OldVst3Top
  ${EndIf}
  ; Nothing of an older bundle may stay behind in the new one.
  RMDir /r "${VST3_DIR}\Brask.vst3"
  SetOutPath "${VST3_DIR}"
  File /r "${STAGE}/VST3/Brask.vst3"
  StrCpy $R0 "${PRESET_DIR}"
  Call TopMissing
  StrCpy $PresetTop $R1
  ${If} $PresetTop == ""
    StrCpy $PresetTop $OldPresetTop
  ${EndIf}
  Delete "${PRESET_DIR}\*.vstpreset"
  SetOutPath "${PRESET_DIR}"
  File "${STAGE}/VST3 Presets/Wyrdworks/Brask/*.vstpreset"
SectionEnd

Section "CLAP plug-in" SecClap
  StrCpy $R0 "${CLAP_DIR}"
  Call TopMissing
  StrCpy $ClapTop $R1
  ${If} $ClapTop == ""
    StrCpy $ClapTop $OldClapTop
  ${EndIf}
  SetOutPath "${CLAP_DIR}"
  File "${STAGE}/CLAP/Brask.clap"
SectionEnd

Section "VST 2 plug-in" SecVst2
  ${If} $OldVst2Folder != ""
  ${AndIf} $OldVst2Folder != $INSTDIR
    Delete "$OldVst2Folder\Brask.dll"
    StrCpy $R0 $OldVst2Folder
    StrCpy $R1 $OldVst2Top
    Call RemoveCreated
    StrCpy $OldVst2Top ""
  ${EndIf}
  StrCpy $R0 $INSTDIR
  Call TopMissing
  StrCpy $Vst2Top $R1
  ${If} $Vst2Top == ""
    StrCpy $Vst2Top $OldVst2Top
  ${EndIf}
  SetOutPath $INSTDIR
  File "${STAGE}/VST2/Brask.dll"
  Delete "${PRESET_DIR}\*.fxp"
  SetOutPath "${PRESET_DIR}"
  File "${STAGE}/VST3 Presets/Wyrdworks/Brask/*.fxp"
SectionEnd

Section "-Uninstaller and registration"
  ${IfNot} ${SectionIsSelected} ${SecClap}
    Delete "${CLAP_DIR}\Brask.clap"
    StrCpy $R0 "${CLAP_DIR}"
    StrCpy $R1 $OldClapTop
    Call RemoveCreated
  ${EndIf}
  ${IfNot} ${SectionIsSelected} ${SecVst2}
  ${AndIf} $OldVst2Folder != ""
    Delete "$OldVst2Folder\Brask.dll"
    StrCpy $R0 $OldVst2Folder
    StrCpy $R1 $OldVst2Top
    Call RemoveCreated
  ${EndIf}
  ${IfNot} ${SectionIsSelected} ${SecVst2}
    Delete "${PRESET_DIR}\*.fxp"
  ${EndIf}
  StrCpy $R0 "${APP_DIR}"
  Call TopMissing
  StrCpy $AppTop $R1
  ${If} $AppTop == ""
    StrCpy $AppTop $OldAppTop
  ${EndIf}
  SetOutPath "${APP_DIR}"
  File "${STAGE}/README.txt"
  File "/oname=LICENSE.txt" "${STAGE}/LICENSE"
  WriteUninstaller "${APP_DIR}\Uninstall.exe"

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "Brask"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "Wyrdworks"
  WriteRegStr HKLM "${UNINST_KEY}" "URLInfoAbout" "https://wyrdworks.example"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "${APP_DIR}\Uninstall.exe,0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "${APP_DIR}"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"${APP_DIR}\Uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"${APP_DIR}\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ; Add/Remove Programs shows the size in KiB of what is installed.
  ${GetSize} "${VST3_DIR}\Brask.vst3" "/S=0K" $R0 $R1 $R2
  ${GetSize} "${APP_DIR}" "/S=0K" $R3 $R1 $R2
  IntOp $R0 $R0 + $R3
  ${GetSize} "${PRESET_DIR}" "/S=0K" $R3 $R1 $R2
  IntOp $R0 $R0 + $R3
  ${If} ${SectionIsSelected} ${SecVst2}
    ${GetSize} "$INSTDIR" "/M=Brask.dll /S=0K /G=0" $R3 $R1 $R2
    IntOp $R0 $R0 + $R3
  ${EndIf}
  ${If} ${SectionIsSelected} ${SecClap}
    ${GetSize} "${CLAP_DIR}" "/M=Brask.clap /S=0K /G=0" $R3 $R1 $R2
    IntOp $R0 $R0 + $R3
  ${EndIf}
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $R0
  ; What the uninstaller removes, and which folders it may remove with it.
  WriteRegStr HKLM "${UNINST_KEY}" "Vst3Folder" "${VST3_DIR}"
  WriteRegStr HKLM "${UNINST_KEY}" "Vst3CreatedFolder" $Vst3Top
  WriteRegStr HKLM "${UNINST_KEY}" "AppCreatedFolder" $AppTop
  WriteRegStr HKLM "${UNINST_KEY}" "PresetCreatedFolder" $PresetTop
  ${If} ${SectionIsSelected} ${SecClap}
    WriteRegStr HKLM "${UNINST_KEY}" "ClapCreatedFolder" $ClapTop
    WriteRegDWORD HKLM "${UNINST_KEY}" "ClapInstalled" 1
  ${Else}
    DeleteRegValue HKLM "${UNINST_KEY}" "ClapCreatedFolder"
    DeleteRegValue HKLM "${UNINST_KEY}" "ClapInstalled"
  ${EndIf}
  ${If} ${SectionIsSelected} ${SecVst2}
    WriteRegStr HKLM "${UNINST_KEY}" "Vst2Folder" $INSTDIR
    WriteRegStr HKLM "${UNINST_KEY}" "Vst2CreatedFolder" $Vst2Top
  ${Else}
    DeleteRegValue HKLM "${UNINST_KEY}" "Vst2Folder"
    DeleteRegValue HKLM "${UNINST_KEY}" "Vst2CreatedFolder"
  ${EndIf}
SectionEnd

Function .onInit
  SetRegView 64
  SetShellVarContext all
  ReadRegStr $OldVst2Folder HKLM "${UNINST_KEY}" "Vst2Folder"
  ReadRegStr $OldVst2Top HKLM "${UNINST_KEY}" "Vst2CreatedFolder"
  ReadRegStr $OldVst3Top HKLM "${UNINST_KEY}" "Vst3CreatedFolder"
  ReadRegStr $OldClapTop HKLM "${UNINST_KEY}" "ClapCreatedFolder"
  ReadRegStr $OldAppTop HKLM "${UNINST_KEY}" "AppCreatedFolder"
  ReadRegStr $OldPresetTop HKLM "${UNINST_KEY}" "PresetCreatedFolder"
  ; NSIS itself replaces a /D= folder it cannot use (no such drive) by the default, silently,
  ; and cuts /D= off $CMDLINE: the process's own command line still has it.
  System::Call 'kernel32::GetCommandLineW() t .R0'
  ClearErrors
  ${GetOptions} $R0 "/D=" $R1
  ${IfNot} ${Errors}
    ; as $INSTDIR has it: no trailing backslash but on a drive's root
    ${DoWhile} $R1 != ""
      StrCpy $R2 $R1 1 -1
      StrLen $R3 $R1
      ${If} $R2 != "\"
      ${OrIf} $R3 <= 3
        ${Break}
      ${EndIf}
      StrCpy $R1 $R1 -1
    ${Loop}
    ${If} $R1 != $INSTDIR
      StrCpy $R9 "cannot install into the VST 2 folder $R1: no such drive or not a folder path."
      Call Fail
    ${EndIf}
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/NOVST2" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecVst2}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/NOCLAP" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecClap}
  ${EndIf}
FunctionEnd

Function SkipUnlessVst2
  ${IfNot} ${SectionIsSelected} ${SecVst2}
    Abort
  ${EndIf}
FunctionEnd

Function CheckTargets
  StrCpy $R0 "${VST3_DIR}"
  Call CheckWritable
  ${If} $R3 != ""
    StrCpy $R9 "cannot install into the VST 3 folder $R0: $R3."
    Call Fail
  ${EndIf}
  ${If} ${SectionIsSelected} ${SecVst2}
    StrCpy $R0 $INSTDIR
    Call CheckWritable
    ${If} $R3 != ""
      StrCpy $R9 "cannot install into the VST 2 folder $R0: $R3."
      Call Fail
    ${EndIf}
  ${EndIf}
  ${If} ${SectionIsSelected} ${SecClap}
    StrCpy $R0 "${CLAP_DIR}"
    Call CheckWritable
    ${If} $R3 != ""
      StrCpy $R9 "cannot install into the CLAP folder $R0: $R3."
      Call Fail
    ${EndIf}
  ${EndIf}
  StrCpy $R0 "${APP_DIR}"
  Call CheckWritable
  ${If} $R3 != ""
    StrCpy $R9 "cannot install into $R0: $R3."
    Call Fail
  ${EndIf}
  StrCpy $R0 "${PRESET_DIR}"
  Call CheckWritable
  ${If} $R3 != ""
    StrCpy $R9 "cannot install the presets into $R0: $R3."
    Call Fail
  ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecVst3} "Brask.vst3, into $COMMONFILES64\VST3 where every \
    VST 3 host looks, and its factory presets. Always installed."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecClap} "Brask.clap, into $COMMONFILES64\CLAP where every \
    CLAP host looks."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecVst2} "Brask.dll, for hosts without VST 3, into a folder \
    you choose next, and its factory presets (.fxp)."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  ReadRegStr $R0 HKLM "${UNINST_KEY}" "Vst2Folder"
  ReadRegStr $R1 HKLM "${UNINST_KEY}" "Vst2CreatedFolder"
  ${If} $R0 != ""
    Delete "$R0\Brask.dll"
    Call un.RemoveCreated
  ${EndIf}
  ReadRegDWORD $R2 HKLM "${UNINST_KEY}" "ClapInstalled"
  ${If} $R2 == 1
    Delete "${CLAP_DIR}\Brask.clap"
    StrCpy $R0 "${CLAP_DIR}"
    ReadRegStr $R1 HKLM "${UNINST_KEY}" "ClapCreatedFolder"
    Call un.RemoveCreated
  ${EndIf}
  ReadRegStr $R0 HKLM "${UNINST_KEY}" "Vst3Folder"
  ReadRegStr $R1 HKLM "${UNINST_KEY}" "Vst3CreatedFolder"
  ${If} $R0 == ""
    StrCpy $R0 "${VST3_DIR}"
  ${EndIf}
  RMDir /r "$R0\Brask.vst3"
  Call un.RemoveCreated
  Delete "${PRESET_DIR}\*.vstpreset"
  Delete "${PRESET_DIR}\*.fxp"
  StrCpy $R0 "${PRESET_DIR}"
  ReadRegStr $R1 HKLM "${UNINST_KEY}" "PresetCreatedFolder"
  Call un.RemoveCreated
  ReadRegStr $R1 HKLM "${UNINST_KEY}" "AppCreatedFolder"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  StrCpy $R0 $INSTDIR
  Call un.RemoveCreated
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
