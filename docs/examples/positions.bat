@echo off
rem positions.bat TEXT TOKEN: only the fields needed, so that a "|" in the
rem context cannot shift them. The result goes through a file: cmd would
rem read a command in for /f's brackets once more and expand a "%" or "!"
rem of TEXT again.
setlocal DisableDelayedExpansion
set "RESULT=%TEMP%\positions-%RANDOM%.txt"
tokloc "%~1" "%~2" > "%RESULT%"
for /f "usebackq tokens=1-3 delims=|" %%a in ("%RESULT%") do echo %%a: token at %%b, text after it at %%c
del "%RESULT%"
