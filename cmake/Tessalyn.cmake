# Shared build rules for the project's own code.

function(tessalyn_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

if(TESSALYN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TESSALYN_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# tessalyn_library(name DEPENDS lib...)
# One static library per folder, made of every source in it. A folder that has
# no sources yet becomes an interface library so dependents still configure.
function(tessalyn_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(sources)
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_library(${name} STATIC ${sources} ${headers})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    tessalyn_warnings(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# tessalyn_executable(name sources... DEPENDS lib...)
function(tessalyn_executable name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
  tessalyn_warnings(${name})
endfunction()

# tessalyn_generated_files(target GENERATOR exe [ARGS arg...] [DEPENDS file...]
#                          [AFTER target...] [BYPRODUCTS file...] COMMENT text
#                          [ASSET] [ALL])
# Runs one of our generator programs during the build. A stamp file stands for
# the generator's output, so it runs again only when the program, a file it
# reads or the output of an AFTER target has changed. ASSET makes the files
# part of the program folder: every program that reads them depends on
# `assets`, which therefore waits for them.
function(tessalyn_generated_files target)
  cmake_parse_arguments(ARG "ASSET;ALL" "GENERATOR;COMMENT" "ARGS;DEPENDS;AFTER;BYPRODUCTS" ${ARGN})
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.stamp)
  set(inputs ${ARG_GENERATOR} ${ARG_DEPENDS})
  foreach(before ${ARG_AFTER})
    get_target_property(beforeStamp ${before} TESSALYN_STAMP)
    if(NOT beforeStamp)
      message(FATAL_ERROR "${target} is generated after ${before}, which must be defined first")
    endif()
    list(APPEND inputs ${beforeStamp})
  endforeach()
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:${ARG_GENERATOR}> ${ARG_ARGS}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${inputs}
    BYPRODUCTS ${ARG_BYPRODUCTS}
    COMMENT ${ARG_COMMENT}
    VERBATIM)
  if(ARG_ALL)
    add_custom_target(${target} ALL DEPENDS ${stamp})
  else()
    add_custom_target(${target} DEPENDS ${stamp})
  endif()
  set_target_properties(${target} PROPERTIES TESSALYN_STAMP ${stamp})
  if(ARG_AFTER)
    add_dependencies(${target} ${ARG_AFTER})
  endif()
  if(ARG_ASSET)
    add_dependencies(assets ${target})
  endif()
endfunction()
