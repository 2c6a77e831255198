# Install layout and the Debian package.
#
# The program looks for its branding record "4.dat" and the banner files in
# its own folder, so it lives in a program folder of its own,
# <prefix>/lib/korvane/, and <prefix>/bin/korvane is a symbolic link to it
# (the program resolves the link when it looks for its folder).

include(GNUInstallDirs)

set(KORVANE_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/korvane)
set(KORVANE_APP_ID org.korvane.Korvane)

install(TARGETS korvane RUNTIME DESTINATION ${KORVANE_PROGRAM_DIR})
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK ../${CMAKE_INSTALL_LIBDIR}/korvane/korvane
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/korvane\" SYMBOLIC)
")
install(TARGETS korvane-gif korvane-brand RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES packaging/linux/${KORVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/linux/${KORVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR "The Korvane developers")
set(CPACK_PACKAGE_CONTACT "The Korvane developers <developers@korvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "body-mass-index calculator")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvane calculates the body-mass index from a weight and a height and shows it colour-coded against a\n five-band legend. It comes with korvane-gif, a GIF inspection tool, and korvane-brand, which builds\n the branding record a distributor puts beside the program.")
set(CPACK_PACKAGE_FILE_NAME "korvane_${PROJECT_VERSION}_amd64")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
