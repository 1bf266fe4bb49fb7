# Installation in the usual Linux layout, and the Debian package CPack makes from it.
set(APP_ID org.flarons.afterburn)
set(FLARONS_WEBSITE "https://flarons.example" CACHE STRING
    "Web address where the screenshots named in the AppStream metainfo are published")

install(TARGETS flarons RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Only what the content generator wrote: a run from the build folder leaves options and pilots there.
install(DIRECTORY ${GAME_DIR}/graphics ${GAME_DIR}/maps DESTINATION ${CMAKE_INSTALL_DATADIR}/flarons)
install(FILES dist/${APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(dist/${APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/dist/${APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/${APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${ICON_SIZES})
  install(FILES ${ICON_DIR}/${size}/flarons.png RENAME ${APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES dist/flarons.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME flarons)
set(CPACK_PACKAGE_VENDOR "The Flarons AFTERBURN team")
set(CPACK_PACKAGE_CONTACT "The Flarons AFTERBURN team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player split-screen cave-flying shooter")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Two pilots share one keyboard and a split screen, each flying a small armed ship with thrust \
and gravity through a cave whose rock is blown away pixel by pixel. A wrecked ship leaves its \
pilot on foot; bases repair and refuel; flags are captured. Pilot profiles keep statistics, \
ranks and medals.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies are read from the program's shared libraries: the C and C++ libraries and SDL2.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
