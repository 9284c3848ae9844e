# Writes the build stamp header. Runs at every build, so a rebuild shows the
# day it was built; configure_file leaves an unchanged header alone.
#   cmake -DIN=... -DOUT=... [-DEPOCH=seconds] -P build-stamp.cmake
# SOURCE_DATE_EPOCH in the build's environment wins over the one seen at
# configure time (EPOCH); either makes the stamp that moment in UTC.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "${EPOCH}" STREQUAL "")
  set(ENV{SOURCE_DATE_EPOCH} "${EPOCH}")
endif()
set(zone)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(zone UTC)
endif()
string(TIMESTAMP TOKLOC_BUILD_DATE "%Y/%m/%d" ${zone})
string(TIMESTAMP TOKLOC_BUILD_DATETIME "%Y/%m/%d %H:%M:%S" ${zone})
configure_file(${IN} ${OUT} @ONLY)
