@echo off
rem each-line.bat FILE TOKEN [FIELD]: one tokloc process searches every
rem line of FILE; each line that holds TOKEN gives its number and FIELD
rem (by default the text after the token). for /f takes the number, then
rem the rest of the line as it is, but for a "|" that begins it.
set "FIELD=%~3"
if "%FIELD%"=="" set FIELD=after
tokloc --lines --found-only --field=line "%~2" < "%~1" > nul
IF ERRORLEVEL 217 GOTO output_failed
IF ERRORLEVEL 76 echo no line holds the token
for /f "tokens=1,* delims=|" %%a in ('tokloc --lines --found-only --line-number --field^=%FIELD% "%~2" ^< "%~1"') do echo %%a: [%%b]
exit /b 0
:output_failed
>&2 echo tokloc could not write its result
exit /b 2
