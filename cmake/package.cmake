# How tarnwick is installed and packaged: `cmake --install` puts the program,
# its manual page and the README in place; `cpack` makes a Debian package of
# the Linux build and a zip of the Windows build.

include(GNUInstallDirs)

if(WIN32)
  # A zip to unpack anywhere: the program and the README, side by side.
  install(TARGETS tarnwick RUNTIME DESTINATION .)
  install(FILES README.md DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME tarnwick-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  # The manual page carries the version and the date of this release.
  configure_file(doc/tarnwick.1.in ${CMAKE_BINARY_DIR}/tarnwick.1 @ONLY)
  install(TARGETS tarnwick RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_BINARY_DIR}/tarnwick.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # tarnwick_VERSION_amd64.deb
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Depends from the shared libraries the program links, by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_STRIP_FILES ON)
  # Debian's packages hold their manual pages and changelog compressed.
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/debian_docs.cmake)
  set(CPACK_TARNWICK_CHANGELOG ${CMAKE_CURRENT_SOURCE_DIR}/doc/changelog)
  set(CPACK_TARNWICK_DOCDIR ${CMAKE_INSTALL_DOCDIR})
  set(CPACK_TARNWICK_MANDIR ${CMAKE_INSTALL_MANDIR})
  set(CPACK_TARNWICK_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(CPACK_TARNWICK_STRIP ${CMAKE_STRIP})
endif()

set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "The Tarnwick developers")
set(CPACK_PACKAGE_CONTACT "The Tarnwick developers <tarnwick@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "create an RSA and an ECDSA key pair as key blob files")
# Debian's long description, in lines of its own, after the summary.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "tarnwick creates an RSA 3072-bit key pair and an ECDSA P-256 key pair,
tests each pair by signing and verifying, and writes the public and the
private half of each to a file in the current directory, in the key blob
formats of the Windows cryptography provider, so that the keys import
there as they are.")
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
