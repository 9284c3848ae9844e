# Installation and packages: a .deb and a .tar.gz natively, a .zip for
# Windows. Included by the top-level CMakeLists.txt, in its scope.
file(GLOB examples ${CMAKE_CURRENT_SOURCE_DIR}/docs/examples/*)
if(WIN32)
  install(TARGETS tokloc RUNTIME DESTINATION .)
  install(FILES LICENSE README.md DESTINATION .)
  install(FILES ${examples} DESTINATION examples)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
else()
  include(GNUInstallDirs)
  # Debian wants the man page and the changelog compressed, without a name
  # or time in the gzip header so that builds stay reproducible.
  configure_file(docs/debian/changelog.in ${generated}/changelog @ONLY)
  add_custom_command(OUTPUT ${generated}/tokloc.1.gz ${generated}/changelog.gz
    COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/docs/tokloc.1 > ${generated}/tokloc.1.gz
    COMMAND gzip -9n -c ${generated}/changelog > ${generated}/changelog.gz
    DEPENDS docs/tokloc.1 ${generated}/changelog)
  add_custom_target(compressed_docs ALL DEPENDS ${generated}/tokloc.1.gz ${generated}/changelog.gz)
  install(TARGETS tokloc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${generated}/tokloc.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
  install(FILES README.md ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${examples} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
  set(CPACK_GENERATOR DEB TGZ)
endif()
set(CPACK_PACKAGE_NAME tokloc)
set(CPACK_PACKAGE_VERSION ${TOKLOC_FULL_VERSION})  # CPack drops a fourth part otherwise
set(CPACK_PACKAGE_VENDOR "the tokloc authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${TOKLOC_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "A console utility for scripts: finds the first occurrence of a token in a line of text and writes one machine-readable result line with its position and the text around it.")
# Debian's extended description, under the summary CPack puts first: lines
# of at most 80 characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A console utility for scripts and batch files: finds the first occurrence
of a token in a line of text and writes one machine-readable result line
with its position and the word or characters around it. The exit code
tells the outcome; help goes to standard error.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "tokloc maintainers <maintainers@tokloc.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "")  # static: no run-time dependencies
# SOURCE_DATE_EPOCH seen at configure time is enough for the packages too:
# cpack reads this file when it runs and stamps the archives with it.
configure_file(cmake/cpack-options.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/cpack-options.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/cpack-options.cmake)
# The .deb alone carries the lintian override.
set(CPACK_TOKLOC_LINTIAN_OVERRIDE ${CMAKE_CURRENT_SOURCE_DIR}/docs/debian/lintian-overrides)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/deb-only.cmake)
include(CPack)
