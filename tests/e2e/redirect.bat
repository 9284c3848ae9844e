@echo off
rem redirect.bat TEXT FILE: the result line to a file, then to nul.
tokloc "%~1" long > "%~2"
echo to a file: %ERRORLEVEL%
type "%~2"
del "%~2"
tokloc "%~1" long > nul
echo to nul: %ERRORLEVEL%
