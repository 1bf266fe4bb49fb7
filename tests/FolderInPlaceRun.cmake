# Runs the built game headless once for every file it reads, with a folder standing in that file's
# place in the home folder: each run must reach the menu, open every list, start a match unless the
# folder took a file the match needs, and exit 0 on Quit, having saved the options.
set(script ${WORK_DIR}/folder-in-place-${PART}.txt)
# The pointer reaches each button a tick before it is clicked.
file(WRITE ${script} "0 key space down\n2 key space up\n"
  "4 mouse 43 38\n5 click 43 38\n10 click 43 38\n"        # flag list of player 1, open and closed
  "14 mouse 101 38\n15 click 101 38\n20 click 101 38\n"   # ship list
  "24 mouse 160 38\n25 click 160 38\n30 click 160 38\n"   # colour picker
  "34 mouse 100 62\n35 click 100 62\n"                    # pilot list
  "39 mouse 100 191\n40 click 100 191\n"                  # PLAYER 1 chosen: saved and read again
  "44 mouse 300 269\n45 click 300 269\n"                  # map list
  "48 key escape down\n50 key escape up\n"               # closed without a choice
  "54 mouse 167 355\n55 click 167 355\n60 click 167 355\n" # weapon lists
  "65 key return down\n67 key return up\n"
  "85 key escape down\n87 key escape up\n"
  "94 mouse 627 467\n95 click 627 467\n"
  "120 close\n") # Quit has no button when its own picture is the folder

# PART keys takes the on-screen keyboard's pictures, PART rest every other file, so the two halves
# run side by side.
file(GLOB_RECURSE shipped RELATIVE ${GAME_DIR} ${GAME_DIR}/graphics/* ${GAME_DIR}/maps/*)
if(PART STREQUAL "keys")
  list(FILTER shipped INCLUDE REGEX "^graphics/menu/keys/")
else()
  list(FILTER shipped EXCLUDE REGEX "^graphics/menu/keys/")
  list(APPEND shipped Options.DAT "Pilots/PLAYER 1/Pilot.DAT" controls.ini)
endif()
# A match needs the first map's pictures (a folder in place of the map file itself gives way to the
# next map, as the first ship, flag and map found are the first usable ones) and the pilot figure;
# any other file may be a folder and a match still starts.
set(needed maps/abyss_back.bmp maps/abyss_dots.bmp maps/abyss_front.bmp maps/abyss_middle.bmp
           graphics/menu/flaron.bmp)
foreach(relative ${shipped})
  set(home ${WORK_DIR}/folder-home-${PART})
  file(REMOVE_RECURSE ${home})
  file(MAKE_DIRECTORY "${home}/${relative}/inside")
  execute_process(COMMAND ${GAME} --headless --home ${home} --seed 1 --script ${script}
                  RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "with a folder as ${relative} the game exited with ${rc}: ${err}")
  endif()
  string(FIND "${err}" "cannot start the match" refused)
  list(FIND needed ${relative} need)
  if(need EQUAL -1 AND NOT refused EQUAL -1)
    message(FATAL_ERROR "with a folder as ${relative} no match started: ${err}")
  elseif(NOT need EQUAL -1 AND refused EQUAL -1)
    message(FATAL_ERROR "with a folder as ${relative} a match started without it")
  endif()
  if(NOT relative STREQUAL "Options.DAT" AND NOT EXISTS ${home}/Options.DAT)
    message(FATAL_ERROR "with a folder as ${relative} Quit saved no Options.DAT")
  endif()
endforeach()
list(LENGTH shipped count)
message(STATUS "${count} files each replaced by a folder: every run reached Quit")
