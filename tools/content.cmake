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
  tools/content/MenuArtHowTo.cpp
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

# The desktop icons, drawn from the default ship at every size a desktop asks for.
set(ICON_SIZES 32 48 64 128 256)
set(ICON_DIR ${CMAKE_BINARY_DIR}/icons)
add_executable(flarons_icons tools/GenerateIcons.cpp tools/content/IconArt.cpp)
target_link_libraries(flarons_icons PRIVATE flarons_content)
set(ICON_FILES)
foreach(size ${ICON_SIZES})
  list(APPEND ICON_FILES ${ICON_DIR}/${size}/flarons.png)
endforeach()
add_custom_command(
  OUTPUT ${ICON_FILES}
  COMMAND flarons_icons ${ICON_DIR} ${ICON_SIZES}
  DEPENDS flarons_icons
  COMMENT "Drawing the desktop icons"
  VERBATIM)
add_custom_target(icons ALL DEPENDS ${ICON_FILES})
