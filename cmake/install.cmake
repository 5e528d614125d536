# What `cmake --install` puts where, and the Debian package built from it
# (tools/package.sh). Paths follow GNUInstallDirs: bin/, share/applications/,
# share/icons/hicolor/, share/man/man6/.
include(GNUInstallDirs)

# The man pages carry the project's version.
foreach(page tumble tumble-sim)
  configure_file(${PROJECT_SOURCE_DIR}/data/${page}.6.in ${PROJECT_BINARY_DIR}/data/${page}.6 @ONLY)
endforeach()

install(TARGETS tumble-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/data/tumble-sim.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The window and its desktop entry exist only with the platform code.
if(TARGET tumble)
  install(TARGETS tumble RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/data/tumble.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES ${PROJECT_SOURCE_DIR}/data/tumble.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/tumble.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
endif()

# The Debian package: Depends comes from dpkg-shlibdeps (dpkg-dev and file).
set(TUMBLE_PACKAGE_MAINTAINER "tumble developers <tumble@localhost>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tumble)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TUMBLE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time 2D physics sandbox with 2D lighting")
# The long description below the summary; CPack indents it and marks the
# empty line as a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "tumble opens a window with a walled world of boxes under one coloured
light that follows the mouse. Space drops a box at the mouse; the boxes
float, collide and slide against each other, and every box casts a hard
shadow.

tumble-sim runs the same world from a script without a window, for
reproducible experiments, and can draw the frames as PNG pictures.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TUMBLE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
