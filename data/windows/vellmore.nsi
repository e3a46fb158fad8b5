; The Windows installer: Vellmore under Program Files, a Start menu entry, and an uninstaller
; that Windows lists under "Apps". Made by scripts/windows-package:
;   makensis -DVERSION=0.9 -DSTAGE=<folder of the files> -DFILES=<include of their removal>
;            -DOUTFILE=<setup.exe> vellmore.nsi
; Both run silently with /S.
; A 64-bit installer, as Vellmore itself is 64-bit.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellmore"

Name "Vellmore ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vellmore"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Vellmore"
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Vellmore.lnk" "$INSTDIR\vellmore.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vellmore"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Vellmore developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vellmore.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    ; Exactly the files the installer put there: a folder the user chose is never emptied blindly.
    !include "${FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Vellmore.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
