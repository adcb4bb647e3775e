# One static library per folder of the program. A library's headers are
# reachable only through the include folder it publishes (a link to its source
# folder under build/include/<folder>/), and a library sees only the include
# folders of what it links. So an #include that points against the direction
# of dependencies fails to build instead of passing unnoticed.
function(tarnwick_publish_headers target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# tarnwick_library(<folder> SOURCES ... [DEPENDS ...]): the library tarnwick_<folder>.
function(tarnwick_library folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;DEPENDS")
  set(target tarnwick_${folder})
  add_library(${target} STATIC ${arg_SOURCES})
  tarnwick_publish_headers(${target} ${folder})
  target_link_libraries(${target} PUBLIC ${arg_DEPENDS})
  if(TARGET tarnwick_options)
    target_link_libraries(${target} PRIVATE tarnwick_options)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  endif()
endfunction()
