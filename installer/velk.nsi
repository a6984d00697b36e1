; The Velk installer. Built by the Windows build with makensis:
;   makensis -DBIN=<out/bin> -DOUTFILE=<setup.exe> velk.nsi
; Silent with /S; /D=<folder> chooses the folder.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef BIN
  !error "BIN must name the folder of the built programs"
!endif
!ifndef OUTFILE
  !define OUTFILE "VelkSetup.exe"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velk"
!define PLAYER_CLASS "Velk.File"

Name "Velk"
Caption "Velk media player"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velk"
RequestExecutionLevel admin
ShowInstDetails nevershow
ShowUninstDetails nevershow

Page directory
Page instfiles
UninstPage instfiles

; Takes one file type over for the player. The previous owner is kept in
; "Velk_Back" with its own registry type, so velkassoc can hand it back at
; uninstallation; a type with no owner is recorded as a value with no type and
; no data, so that none is written back (an empty text would be an owner).
; A type the player already owns keeps its record.
!macro TakeOver EXT
  Push "${EXT}"
  Call TakeOverType
!macroend

Function TakeOverType
  Exch $R0            ; extension
  Push $0
  Push $R1
  Push $R2
  Push $R3
  ReadRegStr $R1 HKCR "$R0" ""
  StrCmp $R1 "${PLAYER_CLASS}" done
  ; The value's registry type: 1 REG_SZ, 2 REG_EXPAND_SZ, 0 when there is none.
  StrCpy $R2 0
  System::Call 'advapi32::RegOpenKeyExW(p 0x80000000, w R0, i 0, i 0x20119, *p .R3) i .r0'
  IntCmp $0 0 0 saved saved
  System::Call 'advapi32::RegQueryValueExW(p R3, w "", p 0, *i .R2, p 0, p 0) i .r0'
  System::Call 'advapi32::RegCloseKey(p R3)'
  IntCmp $0 0 saved
  StrCpy $R2 0
saved:
  StrCmp $R2 0 none
  IntCmp $R2 2 0 plain plain
  WriteRegExpandStr HKCR "$R0" "Velk_Back" "$R1"
  Goto owner
plain:
  WriteRegStr HKCR "$R0" "Velk_Back" "$R1"
  Goto owner
none:
  ; KEY_WRITE in the 64-bit view; REG_NONE, no data.
  System::Call 'advapi32::RegCreateKeyExW(p 0x80000000, w R0, i 0, p 0, i 0, i 0x20106, p 0, *p .R3, p 0) i .r0'
  IntCmp $0 0 0 owner owner
  System::Call 'advapi32::RegSetValueExW(p R3, w "Velk_Back", i 0, i 0, p 0, i 0) i .r0'
  System::Call 'advapi32::RegCloseKey(p R3)'
owner:
  WriteRegStr HKCR "$R0" "" "${PLAYER_CLASS}"
done:
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $0
  Pop $R0
FunctionEnd

Section "Velk"
  SetRegView 64
  SetOutPath "$INSTDIR"
  File "${BIN}/Velk.exe"
  File /nonfatal "${BIN}/Karvex.ax"
  File "${BIN}/velkassoc.exe"
  File /nonfatal "${BIN}/samiparse.ax"
  SetOutPath "$INSTDIR\Skins"
  File /nonfatal /r "${BIN}/Skins/*.*"
  SetOutPath "$INSTDIR"

  WriteRegStr HKCU "Software\Velk" "AppPath" "$INSTDIR"

  WriteRegStr HKCR "${PLAYER_CLASS}" "" "Velk media file"
  WriteRegStr HKCR "${PLAYER_CLASS}\DefaultIcon" "" "$INSTDIR\Velk.exe,0"
  WriteRegStr HKCR "${PLAYER_CLASS}\shell\open\command" "" '"$INSTDIR\Velk.exe" "%1"'
  !insertmacro TakeOver ".mp3"
  !insertmacro TakeOver ".avi"
  !insertmacro TakeOver ".asf"
  !insertmacro TakeOver ".mpg"
  !insertmacro TakeOver ".m3u"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; Uninstalling runs velkassoc first: it hands the file types back, then
  ; starts the uninstaller proper with the rest of the command line.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Velk media player"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Velk.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\velkassoc.exe" "$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\velkassoc.exe" "$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetRegView 64
  ; The file types go back first, however uninstalling was started: from the
  ; uninstall entry velkassoc has done it already and finds nothing left.
  ExecWait '"$INSTDIR\velkassoc.exe" /types'
  DeleteRegKey HKCR "${PLAYER_CLASS}"

  ; The settings and the automatic playlist are the user's: asked, kept when silent.
  MessageBox MB_YESNO|MB_ICONQUESTION "Keep your Velk settings and playlist?" /SD IDYES IDYES keep
  DeleteRegKey HKCU "Software\Velk"
  Delete "$INSTDIR\velk.m3u"
keep:
  Delete "$INSTDIR\Velk.exe"
  Delete "$INSTDIR\Karvex.ax"
  Delete "$INSTDIR\samiparse.ax"
  Delete "$INSTDIR\velkassoc.exe"
  ; What an interrupted save of the playlist left beside it.
  Delete "$INSTDIR\velk.m3u*.tmp"
  RMDir /r "$INSTDIR\Skins"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  SetAutoClose true
SectionEnd
