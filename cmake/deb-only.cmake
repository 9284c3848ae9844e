# Run by cpack between staging and packing: the lintian override belongs to
# the .deb alone, not to the tarball or to a plain "cmake --install".
if(CPACK_GENERATOR STREQUAL "DEB")
  set(dir "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/lintian/overrides")
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${CPACK_TOKLOC_LINTIAN_OVERRIDE}" "${dir}/tokloc")
endif()
