@echo off
rem locate.bat TEXT TOKEN [LENGTH]: where TOKEN stands in TEXT, by tokloc.
rem One field a call, after its line number, so that no field is empty
rem and no character of a context can shift another. Each field goes to a
rem file of its own that for /f reads, and is shown through for's
rem variables, which cmd never reads again: a command in for /f's brackets
rem or a variable's value could expand a "%" or "!" of TEXT once more. What
rem no cmd can carry: a '"' in TEXT, and a NUL byte (for /f ends there).
setlocal DisableDelayedExpansion
set "LEN=%~3"
if "%LEN%"=="" set LEN=0
set "RESULT=%TEMP%\locate-%RANDOM%"
tokloc --field=found "%~1" "%~2" %LEN% > "%RESULT%.found"
IF ERRORLEVEL 217 GOTO output_failed
IF ERRORLEVEL 76 GOTO not_found
for %%F in (position after_position before after) do tokloc --line-number --field=%%F "%~1" "%~2" %LEN% > "%RESULT%.%%F"
for /f "usebackq tokens=1,* delims=|" %%a in ("%RESULT%.position") do (
  for /f "usebackq tokens=1,* delims=|" %%c in ("%RESULT%.after_position") do (
    for /f "usebackq tokens=1,* delims=|" %%e in ("%RESULT%.before") do (
      for /f "usebackq tokens=1,* delims=|" %%g in ("%RESULT%.after") do (
        echo pos=%%b after=%%d before=[%%f] behind=[%%h]
      )
    )
  )
)
del "%RESULT%.*"
goto :eof
:not_found
del "%RESULT%.*"
echo not found
exit /b 76
:output_failed
del "%RESULT%.*"
>&2 echo tokloc could not write its result
exit /b 2
