@echo off
rem locate.bat TEXT TOKEN [LENGTH]: where TOKEN stands in TEXT, by tokloc.
rem One field a call, after its line number, so that no field is empty
rem and no character of a context can shift another.
setlocal DisableDelayedExpansion
set "LEN=%~3"
if "%LEN%"=="" set LEN=0
tokloc --field=found "%~1" "%~2" %LEN% > nul
IF ERRORLEVEL 217 GOTO output_failed
IF ERRORLEVEL 76 GOTO not_found
for %%F in (position after_position before after) do (
  for /f "tokens=1,* delims=|" %%a in ('tokloc --line-number --field^=%%F "%~1" "%~2" %LEN%') do set "%%F=%%b"
)
rem Delayed expansion shows texts with "&" or "|" as they are.
setlocal EnableDelayedExpansion
echo pos=!position! after=!after_position! before=[!before!] behind=[!after!]
goto :eof
:not_found
echo not found
goto :eof
:output_failed
>&2 echo tokloc could not write its result
exit /b 2
