# Third-party libraries, compiled from the Debian source packages that
# scripts/setup.sh unpacks into TARNWICK_DEPS_DIR. Nothing of them is in the repository.
set(TARNWICK_DEPS_DIR "${CMAKE_SOURCE_DIR}/.deps/src" CACHE PATH "Unpacked third-party sources")

foreach(dep jsoncpp tinyxml2 unrar)
  if(NOT EXISTS "${TARNWICK_DEPS_DIR}/${dep}")
    message(FATAL_ERROR "${TARNWICK_DEPS_DIR}/${dep} is missing: run scripts/setup.sh first")
  endif()
endforeach()

# tarnwick_patch_source(<input> <output> <old> <new> [<old> <new>...]): output
# is input with every old text replaced by the new one after it. Fails the
# configure step when an old text is missing, so that another release of the
# sources cannot pass unpatched.
function(tarnwick_patch_source input output)
  file(READ "${input}" text)
  # ARGV<n>, not a list: the texts hold semicolons.
  math(EXPR last "${ARGC} - 1")
  if(last GREATER_EQUAL 2)
    foreach(old_at RANGE 2 ${last} 2)
      math(EXPR new_at "${old_at} + 1")
      set(old "${ARGV${old_at}}")
      string(FIND "${text}" "${old}" at)
      if(at EQUAL -1)
        message(FATAL_ERROR "${input} does not contain the text to replace:\n${old}")
      endif()
      string(REPLACE "${old}" "${ARGV${new_at}}" text "${text}")
    endforeach()
  endif()
  if(EXISTS "${output}")
    file(READ "${output}" before)
    if(before STREQUAL text)
      return()  # unchanged: nothing to rebuild
    endif()
  endif()
  file(WRITE "${output}" "${text}")
endfunction()

# JsonCpp without iostreams in the programs: its stream functions, the stream
# objects of <iostream> and the string streams of its assertions and number
# reading bring in the locale machinery of libstdc++ (about 700 KB of the
# program). The linker cannot leave out unused functions of an object that it
# takes (each object's unwind table keeps them all), so they are taken out of
# the sources. Nothing of the programs reads or writes JSON through streams;
# stubpack (native) keeps the library as it is. The assertions throw the same
# LogicError with the same literal text; a number is read by the function the
# stream extraction ends in (__mingw_strtod on the whole token, an overflow to
# infinity is not a number).
set(jsoncpp_dir "${TARNWICK_DEPS_DIR}/jsoncpp")
set(jsoncpp_sources ${jsoncpp_dir}/src/lib_json/json_reader.cpp ${jsoncpp_dir}/src/lib_json/json_value.cpp
  ${jsoncpp_dir}/src/lib_json/json_writer.cpp)
if(WIN32)
  set(jsoncpp_patched "${CMAKE_BINARY_DIR}/jsoncpp")
  tarnwick_patch_source(${jsoncpp_dir}/include/json/assertions.h ${jsoncpp_patched}/include/json/assertions.h
    "#include <sstream>\n" ""
    "#include \"config.h\"" "#include <json/config.h>"
    "    OStringStream oss;                                                         \\\n    oss << message;                                                            \\\n    Json::throwLogicError(oss.str());                                          \\\n"
    "    Json::throwLogicError(message);                                            \\\n")
  tarnwick_patch_source(${jsoncpp_dir}/src/lib_json/json_reader.cpp ${jsoncpp_patched}/json_reader.cpp
    "#include <iostream>\n" "#include <cmath>\n#include <cstdlib>\n"
    "  IStringStream is(buffer);\n  if (!(is >> value))"
    "  char* parsed = nullptr;\n  value = __mingw_strtod(buffer.c_str(), &parsed);\n  if (parsed == buffer.c_str() || *parsed != '\\0' || std::isinf(value))"
    "bool Reader::parse(std::istream& is, Value& root, bool collectComments) {\n" "#if 0\n"
    "  return parse(doc.data(), doc.data() + doc.size(), root, collectComments);\n}\n" "#endif\n"
    "bool parseFromStream(CharReader::Factory const& fact, IStream& sin, Value* root,\n" "#if 0\n"
    "  return sin;\n}\n" "#endif\n")
  tarnwick_patch_source(${jsoncpp_dir}/src/lib_json/json_value.cpp ${jsoncpp_patched}/json_value.cpp
    "#include <iostream>\n" ""
    "String Value::toStyledString() const {\n" "#if 0\n"
    "  out += '\\n';\n\n  return out;\n}\n" "#endif\n")
  # Of the writers, only the texts of numbers and booleans (Value::asString).
  tarnwick_patch_source(${jsoncpp_dir}/src/lib_json/json_writer.cpp ${jsoncpp_patched}/json_writer.cpp
    "// Class Writer\n" "#if 0\n"
    "} // namespace Json" "#endif\n} // namespace Json")
  set(jsoncpp_sources ${jsoncpp_patched}/json_reader.cpp ${jsoncpp_patched}/json_value.cpp
    ${jsoncpp_patched}/json_writer.cpp)
endif()
add_library(jsoncpp STATIC ${jsoncpp_sources})
if(WIN32)
  target_include_directories(jsoncpp PRIVATE ${jsoncpp_dir}/src/lib_json)
  target_include_directories(jsoncpp SYSTEM BEFORE PRIVATE ${jsoncpp_patched}/include)
endif()
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
# The unpacking itself (decoders, filters, checksums, the buffered reads and
# writes) is compiled for speed, the rest of UnRAR for size.
set(unrar_hot_units unpack getbits rarvm rdwrfn crc blake2s hash)
list(TRANSFORM unrar_hot_units PREPEND "${unrar_dir}/")
list(TRANSFORM unrar_hot_units APPEND ".cpp")
set_source_files_properties(${unrar_hot_units} PROPERTIES COMPILE_OPTIONS $<$<CONFIG:Release>:-O2>
  SKIP_PRECOMPILE_HEADERS ON)  # a header compiled for size does not serve them
# The decoder's copy of a match goes as in UnRAR's Windows build, which is
# compiled by MSVC: 8 bytes at a time when the match does not overlap itself
# (FAST_MEMCPY, which its sources set for MSVC only), and inlined into the
# decoding loops (its _forceinline is MSVC's __forceinline, a plain inline
# for GCC; the higher limit makes GCC inline it too). 5% less CPU time when
# unpacking text, 7 KB of program.
set_source_files_properties(${unrar_dir}/unpack.cpp PROPERTIES COMPILE_DEFINITIONS FAST_MEMCPY
  COMPILE_OPTIONS "$<$<CONFIG:Release>:-O2;--param=max-inline-insns-single=200>")
target_link_libraries(unrar PUBLIC ole32 oleaut32 wbemuuid delay::powrprof shlwapi advapi32 shell32 user32)

if(TARNWICK_BUILD_TESTS)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
