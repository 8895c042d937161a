# The version every program reports, the install layout, the Debian package, and a test that
# installs into a scratch prefix and runs the installed snapshot tool on an installed example.
include(GNUInstallDirs)

set_property(SOURCE src/app/common_options.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS QUILLMOOR_VERSION="${PROJECT_VERSION}")

install(TARGETS quillmoor quillmoor-snapshot quillmoor-check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES docs/man/quillmoor.1 docs/man/quillmoor-snapshot.1 docs/man/quillmoor-check.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(DIRECTORY demo examples DESTINATION ${CMAKE_INSTALL_DATADIR}/quillmoor)

set(CPACK_PACKAGE_NAME quillmoor)
set(CPACK_PACKAGE_VENDOR "Velkori")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer for small 2D physics scenes")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quillmoor)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillmoor developers <quillmoor@velkori.example.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps derives the run-time libraries (Chipmunk, freeglut, GL, GLU, libpng).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

if(BUILD_TESTING)
  add_test(NAME install.snapshot_runs_installed_example
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
      -DPREFIX=${CMAKE_BINARY_DIR}/install-test -P ${CMAKE_CURRENT_LIST_DIR}/install_test.cmake)
  set_tests_properties(install.snapshot_runs_installed_example PROPERTIES
    LABELS window ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endif()
