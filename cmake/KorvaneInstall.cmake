# Install layout and the Debian package.
#
# The program looks for its branding record "4.dat" and the banner files in
# its own folder, so it lives in a program folder of its own,
# <prefix>/lib/korvane/, and <prefix>/bin/korvane is a symbolic link to it
# (the program resolves the link when it looks for its folder).

include(GNUInstallDirs)

set(KORVANE_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/korvane)
set(KORVANE_APP_ID org.korvane.Korvane)

install(TARGETS korvane korvane-brand-view RUNTIME DESTINATION ${KORVANE_PROGRAM_DIR})
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK ../${CMAKE_INSTALL_LIBDIR}/korvane/korvane
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/korvane\" SYMBOLIC)
")
install(TARGETS korvane-gif korvane-brand RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES packaging/linux/${KORVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/linux/${KORVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${KORVANE_ICON_THEME_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# Manual pages of the two tools, made from their --help texts.
find_program(HELP2MAN help2man REQUIRED)
foreach(tool_and_name "korvane-gif|inspect, unpack and rewrite GIF files"
                      "korvane-brand|build, read, check and preview Korvane branding records")
  string(REPLACE "|" ";" tool_and_name "${tool_and_name}")
  list(GET tool_and_name 0 tool)
  list(GET tool_and_name 1 name)
  set(page ${PROJECT_BINARY_DIR}/man/${tool}.1)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            ${HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
            --name=${name} --section=1 --output=${page} $<TARGET_FILE:${tool}>
    COMMAND gzip -9nf ${page}
    DEPENDS ${tool}
    VERBATIM)
  list(APPEND korvane_man_pages ${page}.gz)
endforeach()

# The program's own manual page is written by hand: it has no --help.
set(korvane_page ${PROJECT_BINARY_DIR}/man/korvane.1)
add_custom_command(
  OUTPUT ${korvane_page}.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/linux/korvane.1 ${korvane_page}
  COMMAND gzip -9nf ${korvane_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/linux/korvane.1
  VERBATIM)
list(APPEND korvane_man_pages ${korvane_page}.gz)
add_custom_target(korvane_man_pages ALL DEPENDS ${korvane_man_pages})
install(FILES ${korvane_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Copyright and change log where Debian looks for them.
set(korvane_changelog ${PROJECT_BINARY_DIR}/doc/changelog.gz)
add_custom_command(
  OUTPUT ${korvane_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/doc
  COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/packaging/debian/changelog ${korvane_changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
  VERBATIM)
add_custom_target(korvane_changelog ALL DEPENDS ${korvane_changelog})
install(FILES packaging/debian/copyright ${korvane_changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvane)
install(FILES packaging/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME korvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR "The Korvane developers")
set(CPACK_PACKAGE_CONTACT "The Korvane developers <developers@korvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "body-mass-index calculator")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvane calculates the body-mass index from a weight and a height and\nshows it colour-coded against a five-band legend. It comes with\nkorvane-gif, a GIF inspection tool, and korvane-brand, which builds the\nbranding record a distributor puts beside the program.")
set(CPACK_PACKAGE_FILE_NAME "korvane_${PROJECT_VERSION}_amd64")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Removing the package also removes the empty record the program made.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
