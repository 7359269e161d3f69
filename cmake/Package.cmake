# `make deb`: a Debian package of what `cmake --install` lays out under /usr.
# The libraries the program links are found by dpkg-shlibdeps; what it only
# loads at run time is named here.
set(TESSALYN_MAINTAINER "Tessalyn developers <packages@tessalyn.org>" CACHE STRING "The package's maintainer")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessalyn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tessalyn")
set(CPACK_PACKAGE_CONTACT ${TESSALYN_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "collection of solitaire card games")
set(CPACK_PACKAGE_DESCRIPTION "Tessalyn brings together 159 named solitaire games and 46 Freecell
variants, all played by one rule-driven engine: Klondike, Freecell, Spider,
Yukon, Canfield, The Clock, Osmosis, Aces Up and many more, with drag and
drop, undo and redo, automatic moves, saved games, statistics, high scores
and a help page with the rules of every game.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_TESSALYN_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/packaging/PrepareDeb.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TESSALYN_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TESSALYN_WEBSITE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's window-system plugins; a font for the texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Every Debian package carries its copyright and a compressed change log.
set(TESSALYN_VERSION ${PROJECT_VERSION})
string(TIMESTAMP TESSALYN_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(package-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION share/doc/tessalyn)

include(CPack)
