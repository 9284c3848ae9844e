@echo off
rem each-line.bat FILE TOKEN: one tokloc process searches every line of
rem FILE and writes one result line for each, in order.
tokloc --lines "%~2" < "%~1"
IF ERRORLEVEL 254 GOTO help_shown
IF ERRORLEVEL 217 GOTO output_failed
IF ERRORLEVEL 76 echo no line holds the token
exit /b 0
:help_shown
>&2 echo tokloc showed its help
exit /b 1
:output_failed
>&2 echo tokloc could not write its result
exit /b 2
