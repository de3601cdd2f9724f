; Zorvane's installer: the three programs, the help pages, sample macros and the
; recorder's hook, installed for the current user without administrator rights.
;
;   makensis -INPUTCHARSET UTF8 -DSTAGE=<staged program folder> -DICON=<launcher.ico>
;            -DOUTFILE=<setup.exe> zorvane.nsi
;
; The uninstaller removes what the installer put there and the shortcuts; the macros in
; RK_MACRO (samples included, the user may have changed them) and the configuration file
; in the application-data folder stay.

Unicode true
; The programs are x86-64; so is the installer (it also runs where no 32-bit layer is).
Target amd64-unicode
!include "MUI2.nsh"

!ifndef STAGE
  !error "STAGE (the staged program folder) is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "Zorvane-Setup.exe"
!endif

Name "Zorvane"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Zorvane"
InstallDirRegKey HKCU "Software\Ostrand\Zorvane" "InstallDir"
SetCompressor /SOLID lzma
BrandingText "Ostrand Zorvane"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorvane"

!define MUI_ABORTWARNING
!ifndef ICON
  !error "ICON (the launcher's icon file) is not defined"
!endif
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Zorvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Zorvane を起動する"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; A running launcher is asked to end (it puts the system's foreground lock timeout back)
; so that its program file can be replaced or removed.
!macro CloseLauncher
  FindWindow $0 "ZorvaneTrayWindow" "TrayIconHandler"
  StrCmp $0 0 +3
  SendMessage $0 ${WM_CLOSE} 0 0
  Sleep 1000
!macroend

Section "Zorvane (必須)" SecMain
  SectionIn RO
  !insertmacro CloseLauncher
  SetOutPath "$INSTDIR"
  File "${STAGE}\Zorvane.exe"
  File "${STAGE}\RkEngine.exe"
  File "${STAGE}\RkEditor.exe"
  File "${STAGE}\RkRecHook.dll"
  File "${STAGE}\Readme.html"
  SetOutPath "$INSTDIR\help"
  File "${STAGE}\help\*.*"
  ; Samples do not replace macros of the same name the user already has.
  SetOutPath "$INSTDIR\RK_MACRO"
  SetOverwrite off
  File "${STAGE}\RK_MACRO\*.txt"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "Software\Ostrand\Zorvane" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Zorvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "2.0.2"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Ostrand"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Zorvane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  CreateDirectory "$SMPROGRAMS\Zorvane"
  CreateShortCut "$SMPROGRAMS\Zorvane\Zorvane.lnk" "$INSTDIR\Zorvane.exe"
  CreateShortCut "$SMPROGRAMS\Zorvane\RkEditor.lnk" "$INSTDIR\RkEditor.exe"
  CreateShortCut "$SMPROGRAMS\Zorvane\RkEngine の設定.lnk" "$INSTDIR\RkEngine.exe"
  CreateShortCut "$SMPROGRAMS\Zorvane\はじめに.lnk" "$INSTDIR\Readme.html"
  CreateShortCut "$SMPROGRAMS\Zorvane\アンインストール.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

Section "ログオン時に Zorvane を起動する" SecStartup
  CreateShortCut "$SMSTARTUP\Zorvane.lnk" "$INSTDIR\Zorvane.exe"
SectionEnd

LangString DESC_Main ${LANG_JAPANESE} "Zorvane、RkEngine、RkEditor とヘルプ、サンプルマクロをインストールします。"
LangString DESC_Startup ${LANG_JAPANESE} "Windows へのログオン時に Zorvane を通知領域に常駐させます。"
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMain} $(DESC_Main)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartup} $(DESC_Startup)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  !insertmacro CloseLauncher
  Delete "$INSTDIR\Zorvane.exe"
  Delete "$INSTDIR\RkEngine.exe"
  Delete "$INSTDIR\RkEditor.exe"
  Delete "$INSTDIR\RkRecHook.dll"
  Delete "$INSTDIR\Readme.html"
  Delete "$INSTDIR\help\*.*"
  RMDir "$INSTDIR\help"
  Delete "$INSTDIR\uninstall.exe"
  ; RK_MACRO keeps the user's macros; the folder goes only when it is empty.
  RMDir "$INSTDIR\RK_MACRO"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Zorvane\Zorvane.lnk"
  Delete "$SMPROGRAMS\Zorvane\RkEditor.lnk"
  Delete "$SMPROGRAMS\Zorvane\RkEngine の設定.lnk"
  Delete "$SMPROGRAMS\Zorvane\はじめに.lnk"
  Delete "$SMPROGRAMS\Zorvane\アンインストール.lnk"
  RMDir "$SMPROGRAMS\Zorvane"
  Delete "$SMSTARTUP\Zorvane.lnk"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\Ostrand\Zorvane"
  DeleteRegKey /ifempty HKCU "Software\Ostrand"
SectionEnd
