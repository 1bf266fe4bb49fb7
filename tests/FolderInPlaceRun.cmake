# Runs the built game headless with folders standing in the place of files it reads in the home
# folder, every file in some run: each run must reach the menu, open every list, start a match unless
# a folder took a file the match needs, and exit 0 on Quit, having saved the options.
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

# A match needs the first map's pictures (a folder in place of the map file itself gives way to the
# next map, as the first ship, flag and map found are the first usable ones) and the pilot figure;
# any other file may be a folder and a match still starts.
set(needed maps/abyss_back.bmp maps/abyss_dots.bmp maps/abyss_front.bmp maps/abyss_middle.bmp
           graphics/menu/flaron.bmp)
file(GLOB_RECURSE shipped RELATIVE ${GAME_DIR} ${GAME_DIR}/graphics/* ${GAME_DIR}/maps/*)
list(APPEND shipped Options.DAT "Pilots/PLAYER 1/Pilot.DAT" controls.ini)
list(SORT shipped)
# Each run puts folders in place of a group of files at once, so the game meets many unreadable files
# in one start. The needed files and the first map (whose loss moves the match to the next map, which
# must then be whole) each get a run of their own; the on-screen keyboard's pictures go together; every
# other file goes round-robin into eight groups, so files of one kind (ships, flags, a button's three
# states, a map's layers) land in different runs.
set(alone_runs "")
set(index 0)
foreach(relative ${shipped})
  list(FIND needed ${relative} need)
  if(NOT need EQUAL -1 OR relative STREQUAL "maps/Abyss.map")
    list(APPEND alone_runs "${relative}")
  elseif(relative MATCHES "^graphics/menu/keys/")
    set(group_keys "${group_keys}|${relative}")
  else()
    math(EXPR group "${index} % 8")
    set(group_${group} "${group_${group}}|${relative}")
    math(EXPR index "${index} + 1")
  endif()
endforeach()
# PART alone takes the runs of one file, PART groups the rest, so the two halves run side by side.
if(PART STREQUAL "alone")
  set(part_runs ${alone_runs})
else()
  set(part_runs "")
  foreach(group keys 0 1 2 3 4 5 6 7)
    string(SUBSTRING "${group_${group}}" 1 -1 members)
    list(APPEND part_runs "${members}")
  endforeach()
endif()

set(home ${WORK_DIR}/folder-home-${PART})
foreach(run ${part_runs})
  string(REPLACE "|" ";" members "${run}")
  file(REMOVE_RECURSE ${home})
  set(refusal_expected FALSE)
  set(options_expected TRUE)
  foreach(relative ${members})
    file(MAKE_DIRECTORY "${home}/${relative}/inside")
    list(FIND needed ${relative} need)
    if(NOT need EQUAL -1)
      set(refusal_expected TRUE)
    endif()
    if(relative STREQUAL "Options.DAT")
      set(options_expected FALSE)
    endif()
  endforeach()
  execute_process(COMMAND ${GAME} --headless --home ${home} --seed 1 --script ${script}
                  RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "with folders as ${members} the game exited with ${rc}: ${err}")
  endif()
  string(FIND "${err}" "cannot start the match" refused)
  if(NOT refusal_expected AND NOT refused EQUAL -1)
    message(FATAL_ERROR "with folders as ${members} no match started: ${err}")
  elseif(refusal_expected AND refused EQUAL -1)
    message(FATAL_ERROR "with a folder as ${members} a match started without it")
  endif()
  if(options_expected AND NOT EXISTS ${home}/Options.DAT)
    message(FATAL_ERROR "with folders as ${members} Quit saved no Options.DAT")
  endif()
endforeach()
list(LENGTH shipped count)
list(LENGTH part_runs run_count)
message(STATUS "${run_count} runs, of ${count} files in all each replaced by a folder: every run reached Quit")
