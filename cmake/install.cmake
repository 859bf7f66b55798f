# What `make install` puts where (under CMAKE_INSTALL_PREFIX, and DESTDIR when set),
# and the Debian package CPack builds from the same rules.
include(GNUInstallDirs)

set(QV_DATA ${CMAKE_SOURCE_DIR}/data)
set(QV_GENERATED ${CMAKE_BINARY_DIR}/data)

# The version and release date appear in the metainfo and the manual pages.
configure_file(${QV_DATA}/quorvane.metainfo.xml.in ${QV_GENERATED}/quorvane.metainfo.xml @ONLY)
configure_file(${QV_DATA}/man/quorvane.1 ${QV_GENERATED}/man/quorvane.1 @ONLY)
configure_file(${QV_DATA}/man/qorv.1 ${QV_GENERATED}/man/qorv.1 @ONLY)

install(TARGETS quorvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The Play window's sound and pads, which the editor opens from here.
install(TARGETS quorvane-playio LIBRARY DESTINATION ${QV_PLAYIO_DIR})
if(TARGET qorv)
  install(TARGETS qorv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${QV_DATA}/quorvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QV_DATA}/quorvane-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME quorvane.xml)
install(FILES ${QV_GENERATED}/quorvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${QV_DATA}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${QV_GENERATED}/man/quorvane.1 ${QV_GENERATED}/man/qorv.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${QV_DATA}/completion/qorv.bash DESTINATION
              ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME qorv)
install(FILES ${QV_DATA}/completion/_qorv DESTINATION
              ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)

# `make uninstall` removes what the last install wrote, as listed in its manifest.
add_custom_target(
  uninstall COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt -P
                    ${CMAKE_SOURCE_DIR}/cmake/uninstall.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
set(CPACK_PACKAGE_CONTACT "The Quorvane developers <dev@quorvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Game parameter editor for Super Mario Bros. images")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Quorvane edits the game parameters of Super Mario Bros. cartridge images in nine\n"
       "settings dialogs, applies and creates IPS patches, and plays the game inside the\n"
       "editor on the current edits. The command-line tool qorv scripts the same parameters.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quorvane.example/)
# The libraries come from the binaries themselves; the font is read at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
# liblnk is opened only when a .lnk shortcut is read (and such a link reads as empty
# without it), so the binaries do not name it for the dependency scan; the same holds
# for the libretro NES core Play opens (without one, Play says what to install).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "liblnk1, libretro-nestopia")
set(CPACK_STRIP_FILES ON)
include(CPack)
