; The installer of Цифролёт for Windows, made by NSIS (makensis -INPUTCHARSET UTF8).
; It installs for the user who runs it, so a parent on a family PC needs no
; administrator: the program under %LOCALAPPDATA%\Programs, a Start menu
; entry, and an entry in the list of installed programs with an uninstaller.
; "setup.exe /AllUsers", run by an administrator, installs for every user of
; the PC instead, under Program Files, as a school's computer room wants it.
; "setup.exe /S" and "uninstall.exe /S" work silently.
;
; Given by the build: VERSION, PROGRAM64 and PROGRAM32 (tsifrolet.exe for
; 64- and 32-bit Windows), NOTICES (the third parties'), ICON, OUTFILE.

Unicode true
; One installer for every PC: itself 32-bit, so that 32-bit Windows starts it
; too; on 64-bit Windows it installs the 64-bit program, in the folder and
; the registry view that 64-bit programs have.
Target x86-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; No file dates stored: the same program gives the same installer.
SetDateSave off

!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

!define APP_NAME "Цифролёт"
!define PUBLISHER "Цифролёт"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tsifrolet"

Name "${APP_NAME}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\Tsifrolet"
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText " "

LoadLanguageFile "${NSISDIR}\Contrib\Language files\Russian.nlf"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1049 "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=1049 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка программы ${APP_NAME}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "Свободная программа, лицензия MIT"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The registry keys below are written under SHCTX, which follows the shell
; context: the user's own (HKCU) or the machine's (HKLM) for /AllUsers.
Function .onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AllUsers" $1
    ${IfNot} ${Errors}
        ; Without an administrator nothing could be written under Program
        ; Files: say so before anything is written, rather than fail midway.
        UserInfo::GetAccountType
        Pop $2
        ${If} $2 != "Admin"
            MessageBox MB_OK|MB_ICONSTOP "Установка для всех пользователей (/AllUsers) требует прав администратора. Запустите установщик от имени администратора или без /AllUsers, для себя одного." /SD IDOK
            ; ERROR_ELEVATION_REQUIRED
            SetErrorLevel 740
            Quit
        ${EndIf}
        ; Unless a folder was given with /D=. Asked before the context
        ; changes, which changes what $LOCALAPPDATA means.
        ${If} $INSTDIR == "$LOCALAPPDATA\Programs\Tsifrolet"
            ; On 32-bit Windows, its one Program Files.
            StrCpy $INSTDIR "$PROGRAMFILES64\Tsifrolet"
        ${EndIf}
        SetShellVarContext all
    ${EndIf}
FunctionEnd

; The uninstaller of an installation for every user lies where the machine's
; entry says the program is.
Function un.onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        SetShellVarContext all
    ${EndIf}
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    ${If} ${RunningX64}
        File "/oname=tsifrolet.exe" "${PROGRAM64}"
    ${Else}
        File "/oname=tsifrolet.exe" "${PROGRAM32}"
    ${EndIf}
    File "/oname=THIRD-PARTY-NOTICES.txt" "${NOTICES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\tsifrolet.exe" "" "$INSTDIR\tsifrolet.exe" 0

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tsifrolet.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ; The size Windows shows in its list, in KB: what was installed.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    ; A program still running cannot be deleted: then nothing else is either,
    ; so that the list of programs still knows of it and can remove it later.
    Delete "$INSTDIR\tsifrolet.exe"
    ${If} ${FileExists} "$INSTDIR\tsifrolet.exe"
        MessageBox MB_OK|MB_ICONEXCLAMATION "Цифролёт сейчас открыт. Закройте его и удалите программу снова." /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    Delete "$SMPROGRAMS\${APP_NAME}.lnk"
    Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
