@echo off
rem each-line.bat FILE TOKEN [FIELD]: one tokloc process searches every
rem line of FILE; each line that holds TOKEN gives its number and FIELD
rem (by default the text after the token). for /f takes the number, then
rem the rest of the line as it is, but for a "|" that begins it. The
rem results go through a file: cmd would read a command in for /f's
rem brackets once more and expand a "%" or "!" of TOKEN again. A NUL byte
rem in a result ends for /f there: the results after it vanish.
setlocal DisableDelayedExpansion
if not exist "%~1" goto no_file
if exist "%~1\*" goto no_file
set "FIELD=%~3"
if "%FIELD%"=="" set FIELD=after
set "RESULTS=%TEMP%\each-line-%RANDOM%.txt"
tokloc --lines --found-only --line-number --field=%FIELD% "%~2" < "%~1" > "%RESULTS%"
IF ERRORLEVEL 217 GOTO failed
IF ERRORLEVEL 76 GOTO none
for /f "usebackq tokens=1,* delims=|" %%a in ("%RESULTS%") do echo %%a: [%%b]
del "%RESULTS%"
exit /b 0
:none
del "%RESULTS%"
echo no line holds the token
exit /b 0
:failed
del "%RESULTS%"
>&2 echo tokloc could not read the file or write its result
exit /b 2
:no_file
>&2 echo each-line.bat: cannot read "%~1"
exit /b 2
