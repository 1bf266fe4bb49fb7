# Installs the build into a fresh prefix and runs the installed game as a player would: it reads the
# shipped pictures and maps from <prefix>/share/flarons and saves into $XDG_DATA_HOME/flarons.
set(root ${WORK_DIR}/install-run)
file(REMOVE_RECURSE ${root})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${root}/usr RESULT_VARIABLE rc
                OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed with ${rc}")
endif()
foreach(file bin/flarons share/applications/org.flarons.afterburn.desktop
        share/metainfo/org.flarons.afterburn.metainfo.xml share/man/man6/flarons.6
        share/icons/hicolor/32x32/apps/org.flarons.afterburn.png
        share/icons/hicolor/256x256/apps/org.flarons.afterburn.png)
  if(NOT EXISTS ${root}/usr/${file})
    message(FATAL_ERROR "the install lacks ${file}")
  endif()
endforeach()

file(WRITE ${root}/close.txt "0 key space down\n3 close\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${root}/data
                        ${root}/usr/bin/flarons --headless --seed 1 --script ${root}/close.txt
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the installed game exited with ${rc}: ${err}")
endif()
if(NOT EXISTS ${root}/data/flarons/Options.DAT OR NOT IS_DIRECTORY "${root}/data/flarons/Pilots/PLAYER 1")
  message(FATAL_ERROR "the installed game did not save into XDG_DATA_HOME/flarons")
endif()
if(EXISTS ${root}/usr/share/flarons/Options.DAT OR EXISTS ${root}/usr/share/flarons/Pilots)
  message(FATAL_ERROR "the installed game wrote into its game folder")
endif()
