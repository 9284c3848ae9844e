@echo off
rem each-line.bat FILE TOKEN: one tokloc call per line of FILE.
for /f "usebackq delims=" %%L in ("%~1") do (
  for /f "delims=" %%R in ('tokloc "%%L" "%~2"') do echo %%R
)
exit /b 0
