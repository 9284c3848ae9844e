@echo off
rem with-text.bat EXAMPLE: runs docs\examples\EXAMPLE.bat on the text in T
rem and the token in K, as a script hands on the values of its variables:
rem each expanded once.
"%~dp0..\..\docs\examples\%~1.bat" "%T%" "%K%"
