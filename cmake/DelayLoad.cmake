# DLLs that are delay-loaded: the program's import table names none of them.
#
# Windows takes a DLL from the program's own folder before System32 unless it
# is a KnownDLL. The stub starts from the user's download folder, where a web
# page can leave a file named wintrust.dll; imported normally, its DllMain would
# run inside the signed stub before wWinMain. Delay-loaded, a DLL is first
# loaded when one of its functions is first called, after wWinMain has
# restricted the DLL search to System32 (startup/DllSearch.cpp).
#
# Add a DLL by adding its name to this list, then link `delay::<name>` instead
# of `<name>`. The configure step fails when any target still links the plain
# name, since the linker would take the functions from whichever import library
# comes first on its command line.
set(TARNWICK_DELAY_LOADED_DLLS
  bcrypt
  comctl32
  credui
  crypt32
  dwmapi
  gdiplus
  powrprof
  uxtheme
  version
  winhttp
  wintrust
)

# Every delay import library is made at configure time from mingw's own import
# library: its exported functions become a .def, which dlltool turns into a
# delay import library. Nobody keeps function lists by hand.
find_program(TARNWICK_NM NAMES ${TARNWICK_MINGW_TRIPLE}-nm REQUIRED)
find_program(TARNWICK_DLLTOOL NAMES ${TARNWICK_MINGW_TRIPLE}-dlltool REQUIRED)

function(tarnwick_make_delay_library name)
  set(import_library /usr/${TARNWICK_MINGW_TRIPLE}/lib/lib${name}.a)
  if(NOT EXISTS ${import_library})
    message(FATAL_ERROR "Delay-loaded ${name}: ${import_library} does not exist")
  endif()
  set(folder ${CMAKE_BINARY_DIR}/delayload)
  set(def ${folder}/${name}.def)
  set(library ${folder}/lib${name}_delay.a)
  file(MAKE_DIRECTORY ${folder})

  if(NOT EXISTS ${library} OR ${import_library} IS_NEWER_THAN ${library}
     OR ${CMAKE_CURRENT_FUNCTION_LIST_FILE} IS_NEWER_THAN ${library})
    execute_process(COMMAND ${TARNWICK_NM} -g --defined-only ${import_library}
      OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "Delay-loaded ${name}: ${TARNWICK_NM} failed on ${import_library}")
    endif()
    # A function has a code thunk ("T name") beside its import slot ("I __imp_name");
    # exported data has the slot only and cannot be delay-loaded. i686 symbols carry
    # a leading underscore, which the .def leaves out; the stdcall "@n" stays, and
    # dlltool -k takes it off the name that is looked up in the DLL.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(underscore "_")
    else()
      set(underscore "")
    endif()
    string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
    set(thunks "")
    set(slots "")
    foreach(line IN LISTS lines)
      if(line MATCHES "^[0-9a-fA-F]+ T ${underscore}([A-Za-z0-9_@?$]+)$")
        list(APPEND thunks ${CMAKE_MATCH_1})
      elseif(line MATCHES "^[0-9a-fA-F]+ I __imp_${underscore}([A-Za-z0-9_@?$]+)$")
        list(APPEND slots ${CMAKE_MATCH_1})
      endif()
    endforeach()
    list(REMOVE_DUPLICATES thunks)
    set(exports "")
    foreach(symbol IN LISTS thunks)
      if(symbol IN_LIST slots)
        string(APPEND exports "  ${symbol}\n")
      endif()
    endforeach()
    if(exports STREQUAL "")
      message(FATAL_ERROR "Delay-loaded ${name}: no functions found in ${import_library}")
    endif()
    file(WRITE ${def} "LIBRARY ${name}.dll\nEXPORTS\n${exports}")

    set(kill_at "")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(kill_at -k)
    endif()
    execute_process(COMMAND ${TARNWICK_DLLTOOL} ${kill_at} --input-def ${def} --output-delaylib ${library}
      WORKING_DIRECTORY ${folder} RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "Delay-loaded ${name}: dlltool failed:\n${errors}")
    endif()

    # Some import libraries also carry a compiled object of their own (gdiplus: the
    # GUIDs and cached objects of its C++ wrappers). It holds no import, so it goes
    # into the delay library as it is.
    execute_process(COMMAND ${TARNWICK_NM} -A --defined-only ${import_library} OUTPUT_VARIABLE member_symbols)
    string(REGEX MATCHALL "[^\n]+" member_lines "${member_symbols}")
    set(own_objects "")
    foreach(line IN LISTS member_lines)
      if(line MATCHES "^[^:]+:([^:]+):[0-9a-fA-F]+ [BDR] ")
        list(APPEND own_objects ${CMAKE_MATCH_1})
      endif()
    endforeach()
    list(REMOVE_DUPLICATES own_objects)
    if(own_objects)
      execute_process(COMMAND ${CMAKE_AR} x ${import_library} ${own_objects} WORKING_DIRECTORY ${folder}
        RESULT_VARIABLE status)
      if(status EQUAL 0)
        execute_process(COMMAND ${CMAKE_AR} rs ${library} ${own_objects} WORKING_DIRECTORY ${folder}
          RESULT_VARIABLE status)
      endif()
      if(NOT status EQUAL 0)
        message(FATAL_ERROR "Delay-loaded ${name}: cannot add ${own_objects} to ${library}")
      endif()
    endif()
  endif()

  add_library(delay::${name} STATIC IMPORTED GLOBAL)
  set_target_properties(delay::${name} PROPERTIES IMPORTED_LOCATION ${library})
endfunction()

foreach(name IN LISTS TARNWICK_DELAY_LOADED_DLLS)
  tarnwick_make_delay_library(${name})
endforeach()

# i686 ld drops the loading thunks of functions called through their __imp_
# slots (see the script); every i686 link keeps those it calls.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  foreach(language C CXX)
    set(CMAKE_${language}_LINKER_LAUNCHER ${CMAKE_${language}_LINKER_LAUNCHER}
      ${CMAKE_CURRENT_LIST_DIR}/keep-delay-thunks.sh ${TARNWICK_NM} ${CMAKE_BINARY_DIR}/delayload --)
  endforeach()
endif()

# Fails the configure step when a target links a delay-loaded DLL by its plain
# name (or -l<name>, lib<name>.a): call once, after every target is defined.
function(tarnwick_check_delay_loaded_links)
  set(directories ${CMAKE_SOURCE_DIR})
  set(targets "")
  while(directories)
    list(POP_FRONT directories directory)
    get_property(children DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    get_property(own DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    list(APPEND directories ${children})
    list(APPEND targets ${own})
  endwhile()
  set(offences "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    set(links "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${target} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND links ${interface})
    endif()
    foreach(item IN LISTS links)
      string(TOLOWER "${item}" item)
      string(REGEX REPLACE "^\\$<link_only:(.*)>$" "\\1" item "${item}")
      string(REGEX REPLACE "^-l|^.*/lib|\\.a$|\\.dll$|\\.lib$" "" bare "${item}")
      if(bare IN_LIST TARNWICK_DELAY_LOADED_DLLS)
        list(APPEND offences "${target} links ${item}")
      endif()
    endforeach()
  endforeach()
  foreach(variable CMAKE_C_STANDARD_LIBRARIES CMAKE_CXX_STANDARD_LIBRARIES)
    foreach(name IN LISTS TARNWICK_DELAY_LOADED_DLLS)
      if(" ${${variable}} " MATCHES "[ /]-?l?${name}(\\.lib|\\.a)? ")
        list(APPEND offences "${variable} names ${name}")
      endif()
    endforeach()
  endforeach()
  if(offences)
    list(JOIN offences "\n  " text)
    message(FATAL_ERROR "Delay-loaded DLLs linked by their plain names (link delay::<name> instead):\n  ${text}")
  endif()
endfunction()
