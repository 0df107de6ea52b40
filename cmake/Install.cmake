# Installing the address book (GNU layout) and packaging it as a Debian
# package with CPack: the two programs in bin/, the resource bundle, which does
# not depend on the architecture, in share/addressbook/, the desktop entry,
# the AppStream metainfo and the icons in the freedesktop places.
include(GNUInstallDirs)

set(AB_APP_ID com.vantoro.AddressBook)
set(AB_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/resources/desktop)

install(TARGETS addressbook addressbook-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS addressbook-render RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/addressbook)
install(FILES ${AB_BIN_DIR}/OSTREL_RC.dll DESTINATION ${CMAKE_INSTALL_DATADIR}/addressbook)
install(FILES ${AB_DESKTOP_DIR}/${AB_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${AB_DESKTOP_DIR}/${AB_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${AB_DESKTOP_DIR}/icons/${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${AB_APP_ID}.png)
endforeach()
install(FILES ${AB_DESKTOP_DIR}/icons/scalable.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${AB_APP_ID}.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME addressbook)
set(CPACK_PACKAGE_VENDOR "Vantoro")
set(CPACK_PACKAGE_CONTACT "Address Book developers <addressbook@vantoro.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Address book that keeps one vCard file per contact")
set(CPACK_PACKAGE_DESCRIPTION
  "Keeps contacts as vCard files, edits them in a four-page editor, imports vCard files and\n CSV exports of mail programs, exports vCard and CSV, with a command-line companion.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Chinese names need a CJK font; links and mail go through the desktop's opener.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk, xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
