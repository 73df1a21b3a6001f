# cmake --install: the program, the reader emulator (found beside the program
# at run time), the desktop entry, its icon and its AppStream metadata.
# cpack (from the build folder): a Debian package whose dependencies
# dpkg-shlibdeps computes from the binaries (package dpkg-dev), so they name the
# Qt the build used.
include(GNUInstallDirs)

install(TARGETS korvelmanager korvel-reader-emulator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/${KORVEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${KORVEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/korvelmanager.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvelmanager)
set(CPACK_PACKAGE_VENDOR "KorvelManager")
set(CPACK_PACKAGE_CONTACT "KorvelManager maintainers <korvelmanager@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Maintenance and personalisation tool for Korvel badge readers")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "KorvelManager reads and creates contactless badges, keeps the site's zones, groups and blacklist,\n"
    "and reads and writes the parameters of a Korvel badge reader/encoder over a serial port.\n"
    "Includes korvel-reader-emulator, a virtual reader for trying the program without hardware.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian's Qt 6 only recommends its platform plugins, without which no window opens.
if(QT_VERSION_MAJOR EQUAL 6)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
