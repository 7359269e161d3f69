# Runs inside cpack on the staged tree, before the .deb is made: Debian's
# own rules for a game's package.
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(path IN LISTS staged)
  if(path MATCHES "/usr/lib/tessalyn$")
    set(program_dir "${path}")
  endif()
endforeach()
if(NOT program_dir)
  message(FATAL_ERROR "no usr/lib/tessalyn in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
get_filename_component(usr "${program_dir}/../.." ABSOLUTE)

# The programs carry no debugging symbols (the program folder holds them as
# plain files, which cpack's own stripping passes by).
file(GLOB programs LIST_DIRECTORIES false "${program_dir}/*")
foreach(file IN LISTS programs)
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND "${CPACK_TESSALYN_STRIP}" --strip-unneeded --remove-section=.comment
                            --remove-section=.note "${file}" COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()

# A game's command lives in /usr/games; the menu entry follows it.
file(MAKE_DIRECTORY "${usr}/games")
file(REMOVE "${usr}/bin/tessalyn")
file(REMOVE_RECURSE "${usr}/bin")
file(CREATE_LINK ../lib/tessalyn/tessalyn "${usr}/games/tessalyn" SYMBOLIC)
file(GLOB entries "${usr}/share/applications/*.desktop")
foreach(entry IN LISTS entries)
  file(READ "${entry}" text)
  string(REPLACE "/usr/bin/tessalyn" "/usr/games/tessalyn" text "${text}")
  file(WRITE "${entry}" "${text}")
endforeach()
