@echo off
rem positions.bat TEXT TOKEN: only the fields needed, so that a "|" in the
rem context cannot shift them.
for /f "tokens=1-3 delims=|" %%a in ('tokloc "%~1" "%~2"') do echo %%a: token at %%b, text after it at %%c
