# The content generator: every picture, font, sound and map of the game is made here.
# The built-in images and sounds are generated inside the program at start-up from this library;
# the files of the game folder are written by flarons_gen at build time.
add_library(flarons_content STATIC
  # built-in images and sounds
  tools/content/Builtins.cpp
  tools/content/BuiltinFonts.cpp
  tools/content/BuiltinPictures.cpp
  tools/content/BuiltinSounds.cpp
  tools/content/Paint.cpp
  # the game folder
  tools/content/GameFolder.cpp
  tools/content/MenuArt.cpp
  tools/content/MenuArtFont.cpp
  tools/content/MenuArtPaint.cpp
  tools/content/MenuArtScreens.cpp
  tools/content/MenuArtTitle.cpp
  tools/content/MenuArtWidgets.cpp
  tools/content/Ships.cpp
  tools/content/ShipPainter.cpp
  tools/content/FlagArt.cpp
  tools/content/ArtNoise.cpp
  tools/content/Maps.cpp
  tools/content/CaveGrid.cpp
  tools/content/MapPainter.cpp
)
target_link_libraries(flarons_content PUBLIC flarons_media)
target_include_directories(flarons_content PUBLIC ${CMAKE_SOURCE_DIR}/tools)

add_executable(flarons_gen tools/GenerateContent.cpp)
target_link_libraries(flarons_gen PRIVATE flarons_content)

set(CONTENT_STAMP ${GAME_DIR}/.content-stamp)
add_custom_command(
  OUTPUT ${CONTENT_STAMP}
  COMMAND flarons_gen ${GAME_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${CONTENT_STAMP}
  DEPENDS flarons_gen
  COMMENT "Generating the game folder"
  VERBATIM)
add_custom_target(game_content ALL DEPENDS ${CONTENT_STAMP})
