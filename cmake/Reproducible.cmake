# Two builds of the same commit give the same bytes, wherever the clone, its
# third-party sources and the build folder lie (scripts/check-reproducible.sh).
#
# Paths: __FILE__ (assertions in our code and in the third-party sources) and
# any debug information name the source, build and third-party folders, which
# differ per clone: each is written as a fixed relative name. The third-party
# folder is usually a symlink, so its real path is mapped too. GCC tries the
# last option first, so the folders inside the source folder come after it.
#
# Time: the linker writes the time of the link into a PE image's file header
# and export directory, unless SOURCE_DATE_EPOCH gives it another. The image
# gets the date of the commit it is built from: SOURCE_DATE_EPOCH when the
# environment sets it, else the date of the commit checked out when the tree
# was configured; without either, no time at all.
#
# Include after TARNWICK_DEPS_DIR is set (cmake/ThirdParty.cmake): the flags
# are appended to CMAKE_<LANG>_FLAGS, so they reach the targets made before too.
function(tarnwick_map_folder path name)
  file(REAL_PATH "${path}" real)
  foreach(variant IN ITEMS "${path}" "${real}")
    foreach(lang C CXX)
      string(APPEND CMAKE_${lang}_FLAGS " \"-ffile-prefix-map=${variant}=${name}\"")
      set(CMAKE_${lang}_FLAGS "${CMAKE_${lang}_FLAGS}" PARENT_SCOPE)
    endforeach()
  endforeach()
endfunction()
tarnwick_map_folder("${CMAKE_SOURCE_DIR}" .)
tarnwick_map_folder("${CMAKE_BINARY_DIR}" build)
tarnwick_map_folder("${TARNWICK_DEPS_DIR}" deps)

if(WIN32)
  set(TARNWICK_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
  if(TARNWICK_SOURCE_DATE_EPOCH STREQUAL "")
    find_package(Git QUIET)
    if(GIT_FOUND)
      execute_process(COMMAND ${GIT_EXECUTABLE} -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
        OUTPUT_VARIABLE TARNWICK_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE status ERROR_QUIET)
      if(NOT status EQUAL 0)
        set(TARNWICK_SOURCE_DATE_EPOCH "")
      endif()
    endif()
  endif()
  if(TARNWICK_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    foreach(lang C CXX)
      set(CMAKE_${lang}_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TARNWICK_SOURCE_DATE_EPOCH})
    endforeach()
  else()
    add_link_options(LINKER:--no-insert-timestamp)
  endif()
endif()
