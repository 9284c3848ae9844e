@echo off
rem locate.bat TEXT TOKEN [LENGTH]: where TOKEN stands in TEXT, by tokloc.
setlocal DisableDelayedExpansion
set "LEN=%~3"
if "%LEN%"=="" set LEN=0
rem The exit code first. IF ERRORLEVEL n holds for n or more: highest first.
tokloc "%~1" "%~2" %LEN%
IF ERRORLEVEL 254 GOTO help_shown
IF ERRORLEVEL 217 GOTO output_failed
IF ERRORLEVEL 76 GOTO not_found
for /f "delims=" %%L in ('tokloc "%~1" "%~2" %LEN%') do set "RESULT=%%L"
rem "delims=|" takes a run of "|" for one: a "#" before every field keeps
rem an empty one in its place, and comes off again after the split. A
rem "|" inside a context still splits it: take only the fields you need.
set "RESULT=#%RESULT:|=|#%"
for /f "tokens=1-6 delims=|" %%a in ("%RESULT%") do (
  set "FOUND=%%a" & set "POS=%%b" & set "AFTER=%%c" & set "LEN=%%d" & set "BEFORE=%%e" & set "BEHIND=%%f"
)
set "FOUND=%FOUND:~1%" & set "POS=%POS:~1%" & set "AFTER=%AFTER:~1%" & set "LEN=%LEN:~1%"
set "BEFORE=%BEFORE:~1%" & set "BEHIND=%BEHIND:~1%"
rem Delayed expansion shows texts with "&" or "|" as they are.
setlocal EnableDelayedExpansion
echo found=!FOUND! pos=!POS! after=!AFTER! len=!LEN! before=[!BEFORE!] behind=[!BEHIND!]
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
