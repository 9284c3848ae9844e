@echo off
rem locate.bat TEXT TOKEN [LENGTH]: where TOKEN stands in TEXT, by tokloc.
setlocal
set "LEN=%~3"
if "%LEN%"=="" set LEN=0
rem The exit code first. IF ERRORLEVEL n holds for n or more: highest first.
tokloc "%~1" "%~2" %LEN%
IF ERRORLEVEL 254 GOTO help_shown
IF ERRORLEVEL 217 GOTO output_failed
IF ERRORLEVEL 76 GOTO not_found
rem Runs of "|" are one separator: an empty context field shifts the later ones.
for /f "tokens=1-6 delims=|" %%a in ('tokloc "%~1" "%~2" %LEN%') do (
  set FOUND=%%a& set POS=%%b& set AFTER=%%c& set LEN=%%d& set BEFORE=%%e& set BEHIND=%%f
)
echo found=%FOUND% pos=%POS% after=%AFTER% len=%LEN% before=[%BEFORE%] behind=[%BEHIND%]
goto :eof
:not_found
echo not found
goto :eof
:help_shown
>&2 echo tokloc showed its help
exit /b 1
:output_failed
>&2 echo tokloc could not write its result
exit /b 2
