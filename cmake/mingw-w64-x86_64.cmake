# Cross-compiles the Win32 build with MinGW-w64 (Debian's posix-thread
# variant); tests run the result under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The one place the Wine loader is named; tests and benchmarks read it here.
# Where this machine lets a process turn off address randomisation, the
# loader runs without it (see wine/wine64: with it, one start in about a
# thousand fails).
execute_process(COMMAND setarch -R true RESULT_VARIABLE _tokloc_no_aslr OUTPUT_QUIET ERROR_QUIET)
if(_tokloc_no_aslr EQUAL 0)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine/wine64 CACHE FILEPATH "Wine loader")
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64 CACHE FILEPATH "Wine loader")
endif()
