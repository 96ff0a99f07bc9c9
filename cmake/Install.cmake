# Install rules and the Debian package.
#
# `cmake --install` lays the game out the GNU way (bin/vorlaxis, share/vorlaxis/...). The Debian
# package follows Debian's games policy instead (/usr/games/vorlaxis, /usr/share/games/vorlaxis):
# the same rules are declared a second time for the component `debian`, which a plain install
# skips and CPack installs alone. The game finds its data in both layouts from its own path.
include(GNUInstallDirs)

set(VORLAXIS_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
# What software centres show of the game; AppStream wants the file named after its id.
set(VORLAXIS_METAINFO ${VORLAXIS_PACKAGING_DIR}/org.example.vorlaxis.metainfo.xml)
set(VORLAXIS_DOC_FILES ${CMAKE_SOURCE_DIR}/README.md ${VORLAXIS_PACKAGING_DIR}/copyright)

# Debian wants manual pages and the changelog compressed, reproducibly (no name, no time stamp).
set(VORLAXIS_GZIP_DIR ${CMAKE_BINARY_DIR}/packaging)
find_program(GZIP_PROGRAM gzip REQUIRED)
function(vorlaxis_gzip source output)
  add_custom_command(
    OUTPUT ${VORLAXIS_GZIP_DIR}/${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VORLAXIS_GZIP_DIR}
    COMMAND ${GZIP_PROGRAM} -9nc ${source} > ${VORLAXIS_GZIP_DIR}/${output}
    DEPENDS ${source}
    COMMENT "Compressing ${output}")
endfunction()
vorlaxis_gzip(${CMAKE_SOURCE_DIR}/app/vorlaxis.6 vorlaxis.6.gz)
vorlaxis_gzip(${VORLAXIS_PACKAGING_DIR}/changelog changelog.gz)
add_custom_target(packaging_files ALL
  DEPENDS ${VORLAXIS_GZIP_DIR}/vorlaxis.6.gz ${VORLAXIS_GZIP_DIR}/changelog.gz)

# One layout: where the executable and the data go, the component, and the man page and
# changelog as given. Extra arguments (EXCLUDE_FROM_ALL) go to every rule.
function(vorlaxis_install_layout component bindir datadir manpage changelog)
  set(rule COMPONENT ${component} ${ARGN})
  install(TARGETS vorlaxis RUNTIME DESTINATION ${bindir} ${rule})
  install(DIRECTORY ${VORLAXIS_DATA_DIR}/ DESTINATION ${datadir} ${rule}
          PATTERN .generated EXCLUDE)
  install(FILES ${VORLAXIS_PACKAGING_DIR}/vorlaxis.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications ${rule})
  install(FILES ${VORLAXIS_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo ${rule})
  install(DIRECTORY ${VORLAXIS_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor ${rule}
          PATTERN .generated EXCLUDE)
  install(FILES ${manpage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 ${rule})
  install(FILES ${VORLAXIS_DOC_FILES} ${changelog}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/vorlaxis ${rule})
endfunction()

vorlaxis_install_layout(game ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_DATADIR}/vorlaxis
                        ${CMAKE_SOURCE_DIR}/app/vorlaxis.6 ${VORLAXIS_PACKAGING_DIR}/changelog)
vorlaxis_install_layout(debian games ${CMAKE_INSTALL_DATADIR}/games/vorlaxis
                        ${VORLAXIS_GZIP_DIR}/vorlaxis.6.gz ${VORLAXIS_GZIP_DIR}/changelog.gz
                        EXCLUDE_FROM_ALL)

# The Debian package: `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlaxis)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vorlaxis developers")
set(CPACK_PACKAGE_CONTACT "Vorlaxis developers <vorlaxis@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player robot fight driven by hand signs before a webcam")
# Debian shows the extended description as it stands: keep its lines short.
set(CPACK_PACKAGE_DESCRIPTION [[
Two players stand before one webcam, each in one half of the picture, and
fight with rock, paper and scissors hand signs. A hand held to one side walks
your robot; a new sign at close range punches; a sign at long range charges
an attack that rock releases; two ranged attacks of the same kind meet in a
best-of-three clash. Two people can also play at one keyboard.

The fight is drawn with OpenGL in a space scene; a control panel shows the
camera picture, each player's hand mask and the readings taken from it.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL debian)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not a library dependency: the control panel's lettering falls back to DejaVu Sans.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
