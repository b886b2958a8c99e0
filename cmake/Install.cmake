# SPDX-License-Identifier: GPL-3.0-or-later
# Installed layout. The programs look for their data in ../share/cadenzo/ beside their own folder
# (GetAppPath), so bin/ and share/ stay siblings whatever the prefix.
install(TARGETS cadenzo-cli RUNTIME DESTINATION bin)

# The licence terms, where Debian keeps them for every package.
install(FILES ${PROJECT_SOURCE_DIR}/data/package/copyright DESTINATION share/doc/cadenzo)

# Manual pages, compressed as the desktop's man reader expects them.
set(CADENZO_MAN_PAGES cadenzo-cli)
if(TARGET cadenzo)
  list(APPEND CADENZO_MAN_PAGES cadenzo)
endif()
set(CADENZO_MAN_OUTPUTS)
foreach(page ${CADENZO_MAN_PAGES})
  set(out ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" ${PROJECT_SOURCE_DIR}/docs/${page}.1 ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/${page}.1 VERBATIM)
  list(APPEND CADENZO_MAN_OUTPUTS ${out})
endforeach()
add_custom_target(cadenzo_man_pages ALL DEPENDS ${CADENZO_MAN_OUTPUTS})
install(FILES ${CADENZO_MAN_OUTPUTS} DESTINATION share/man/man1)

# The program with windows and what the desktop needs to offer it: its entry, the file type of
# .mfd files that the entry opens, and the icon set.
if(TARGET cadenzo)
  install(TARGETS cadenzo RUNTIME DESTINATION bin)
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/cadenzo.desktop DESTINATION share/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/cadenzo.xml DESTINATION share/mime/packages)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION share/icons
          FILES_MATCHING PATTERN "*.png" PATTERN "*.svg")
endif()

# Debian package: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME cadenzo)
set(CPACK_PACKAGE_VENDOR "Cadenzo")
set(CPACK_PACKAGE_CONTACT "Cadenzo maintainers <maintainers@cadenzo.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "View, edit and convert the Music Finder files of arranger keyboards")
set(CPACK_PACKAGE_DESCRIPTION
    "Cadenzo shows every record of a Music Finder file (.mfd) as a row of a sortable, checkable
list, lets you edit, flag, search and replace records in bulk, builds play lists, exchanges
the list with spreadsheets as delimited text, sends a record to the connected keyboard, and
saves the file for the same or another keyboard model, converting every style on the way.
The package also holds cadenzo-cli, which inspects, lists, converts, exports and imports
Music Finder files without windows.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from the binaries themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The desktop integration works through these; the programs run without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils")
include(CPack)
