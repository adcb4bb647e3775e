# Third-party libraries, compiled from the Debian source packages that
# scripts/setup.sh unpacks into TARNWICK_DEPS_DIR. Nothing of them is in the repository.
set(TARNWICK_DEPS_DIR "${CMAKE_SOURCE_DIR}/.deps/src" CACHE PATH "Unpacked third-party sources")

foreach(dep jsoncpp tinyxml2 unrar)
  if(NOT EXISTS "${TARNWICK_DEPS_DIR}/${dep}")
    message(FATAL_ERROR "${TARNWICK_DEPS_DIR}/${dep} is missing: run scripts/setup.sh first")
  endif()
endforeach()

set(jsoncpp_dir "${TARNWICK_DEPS_DIR}/jsoncpp")
add_library(jsoncpp STATIC
  ${jsoncpp_dir}/src/lib_json/json_reader.cpp
  ${jsoncpp_dir}/src/lib_json/json_value.cpp
  ${jsoncpp_dir}/src/lib_json/json_writer.cpp)
target_include_directories(jsoncpp SYSTEM PUBLIC ${jsoncpp_dir}/include)

if(NOT WIN32)
  return()  # the native tools need JsonCpp only
endif()

set(tinyxml2_dir "${TARNWICK_DEPS_DIR}/tinyxml2")
add_library(tinyxml2 STATIC ${tinyxml2_dir}/tinyxml2.cpp)
target_include_directories(tinyxml2 SYSTEM PUBLIC ${tinyxml2_dir})

# UnRAR's library interface (dll.cpp, compiled through unrar_walk.cpp, which
# adds a walk over every header and reading through a caller's handle) with the
# library objects of its makefile, without rar.cpp (main). RARDLL implies
# SILENT, but keeps write errors fatal (errhnd.cpp); SILENT alone would turn
# them into no-ops.
set(unrar_dir "${TARNWICK_DEPS_DIR}/unrar")
set(unrar_units archive arcread blake2s cmddata consio crc crypt encname errhnd
  extinfo extract filcreat file filefn filestr find getbits global hash headers
  isnt list match options pathfn qopen rarvm rawread rdwrfn recvol resource
  rijndael rs rs16 scantree secpassword sha1 sha256 smallfn strfn strlist system
  threadpool timefn ui unicode unpack volume)
list(TRANSFORM unrar_units PREPEND "${unrar_dir}/")
list(TRANSFORM unrar_units APPEND ".cpp")
set(unrar_glue ${CMAKE_SOURCE_DIR}/cmake/unrar-mingw)
add_library(unrar STATIC ${unrar_units} ${unrar_glue}/com_util.cpp ${unrar_glue}/unrar_walk.cpp)
target_compile_definitions(unrar PUBLIC UNRAR RARDLL)
target_compile_options(unrar PRIVATE -w)
target_include_directories(unrar SYSTEM PUBLIC ${unrar_glue})
target_include_directories(unrar SYSTEM PUBLIC ${unrar_dir})
target_precompile_headers(unrar PRIVATE ${unrar_dir}/rar.hpp)
set_source_files_properties(${unrar_dir}/global.cpp ${unrar_glue}/com_util.cpp
  PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
target_link_libraries(unrar PUBLIC ole32 oleaut32 wbemuuid delay::powrprof shlwapi advapi32 shell32 user32)

if(TARNWICK_BUILD_TESTS)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
