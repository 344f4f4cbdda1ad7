; The Windows installer, velmora-VERSION-setup.exe: a 64-bit Nullsoft installer in simplified
; Chinese that installs for the current user, without administrator rights. Built by
; scripts/make-installer.sh, which defines VERSION, STAGE (the folder holding the files the zip
; carries), ICON and OUTFILE.
;
; The installer installs exactly these files and the uninstaller removes exactly them, so that
; what the owner saved into the install folder (方案, background images) stays.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true
SetCompressor /SOLID /FINAL lzma
; The files keep their dates from the staged copies, which make-installer.sh sets to the commit's.
SetDateSave on
XPStyle on

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
!define UNINSTALLER "卸载 Velmora.exe"

Name "Velmora"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Velmora"
; An upgrade goes where the earlier version is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Velmora ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "Velmora"
VIAddVersionKey /LANG=2052 "CompanyName" "Velmora"
VIAddVersionKey /LANG=2052 "FileDescription" "Velmora 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright (c) 2026 Velmora"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\velmora.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\使用说明.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString InUse ${LANG_SIMPCHINESE} "Velmora 正在运行（$R0）。$\r$\n请先关闭 Velmora，再按“重试”。"
LangString NotRemoved ${LANG_SIMPCHINESE} "有些文件没有删除，可能正在使用：$\r$\n$INSTDIR$\r$\n请关闭 Velmora 后再卸载一次。"

; Every file of ours, as the installer puts it and the uninstaller removes it.
!macro VelmoraFiles Do
    !insertmacro ${Do} "velmora.exe"
    !insertmacro ${Do} "velmora-css.exe"
    !insertmacro ${Do} "使用说明.txt"
    !insertmacro ${Do} "LICENSE.txt"
!macroend

!macro InstallFile Name
    File "/oname=${Name}" "${STAGE}/${Name}"
!macroend
!macro RemoveFile Name
    Delete "$INSTDIR\${Name}"
!macroend
!macro AddSize Name
    FileOpen $0 "$INSTDIR\${Name}" r
    FileSeek $0 0 END $1
    FileClose $0
    IntOp $2 $2 + $1
!macroend

; A program in use cannot be replaced or removed: Windows refuses to open a running program for
; writing. $R0 is the first of ours that is in use, or empty.
!macro CheckInUse Name
    ${If} $R0 == ""
    ${AndIf} ${FileExists} "$INSTDIR\${Name}"
        ClearErrors
        FileOpen $0 "$INSTDIR\${Name}" a
        ${If} ${Errors}
            StrCpy $R0 "${Name}"
        ${Else}
            FileClose $0
        ${EndIf}
    ${EndIf}
!macroend

; Asks the owner to close Velmora until it is closed or they give up; silent, gives up at once.
; Exits with 3 when giving up, having replaced or removed nothing.
!macro WaitUntilClosed Prefix
Function ${Prefix}WaitUntilClosed
    ${Do}
        StrCpy $R0 ""
        !insertmacro CheckInUse "velmora.exe"
        !insertmacro CheckInUse "velmora-css.exe"
        ${If} $R0 == ""
            Return
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY retry
        SetErrorLevel 3
        Quit
        retry:
    ${Loop}
FunctionEnd
!macroend
!insertmacro WaitUntilClosed ""
!insertmacro WaitUntilClosed "un."

Section "Velmora（必需）" SecProgram
    SectionIn RO
    SetShellVarContext current
    Call WaitUntilClosed
    SetOutPath "$INSTDIR"
    SetOverwrite on
    ClearErrors
    !insertmacro VelmoraFiles InstallFile
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "$(^ErrorCreating)$INSTDIR" /SD IDOK
        SetErrorLevel 5
        Quit
    ${EndIf}
    CreateShortcut "$SMPROGRAMS\Velmora.lnk" "$INSTDIR\velmora.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Velmora"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velmora.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Velmora"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; The size of our files alone, in KiB, not of what the owner keeps beside them.
    StrCpy $2 0
    !insertmacro VelmoraFiles AddSize
    !insertmacro AddSize "${UNINSTALLER}"
    IntOp $2 $2 + 1023
    IntOp $2 $2 / 1024
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $2
SectionEnd

Section "桌面快捷方式" SecDesktop
    SetShellVarContext current
    CreateShortcut "$DESKTOP\Velmora.lnk" "$INSTDIR\velmora.exe"
SectionEnd

; The desktop shortcut is ours to remove only when we made it; one an earlier install made goes
; when the owner now leaves it out.
Section "-Desktop shortcut's record"
    SetShellVarContext current
    ${If} ${SectionIsSelected} ${SecDesktop}
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "DesktopShortcut" 1
    ${Else}
        ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "DesktopShortcut"
        ${If} $0 = 1
            Delete "$DESKTOP\Velmora.lnk"
        ${EndIf}
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "DesktopShortcut" 0
    ${EndIf}
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Call un.WaitUntilClosed
    ClearErrors
    !insertmacro VelmoraFiles RemoveFile
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "$(NotRemoved)" /SD IDOK
        SetErrorLevel 5
        Quit
    ${EndIf}
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Only when nothing of the owner's is left in it.
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Velmora.lnk"
    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "DesktopShortcut"
    ${If} $0 = 1
        Delete "$DESKTOP\Velmora.lnk"
    ${EndIf}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
