# Size of the programs (the i686 release program is what every user fetches;
# scripts/bench.sh prints what each part of it costs, scripts/size-table.py).
#
# Every function and object gets a section of its own, and the linker keeps
# only those reachable from the entry point, the exports and the runtime's
# tables. Code is compiled for size; the few UnRAR sources that do the
# unpacking keep the release default (see cmake/ThirdParty.cmake), as
# extraction time is measured against native unrar.
#
# Include before any target is defined: the flags go into CMAKE_<LANG>_FLAGS.
if(NOT WIN32)
  return()
endif()
foreach(lang C CXX)
  string(APPEND CMAKE_${lang}_FLAGS " -ffunction-sections -fdata-sections")
  string(REGEX REPLACE "(^| )-O[0-9s]( |$)" "\\1-Os\\2" CMAKE_${lang}_FLAGS_RELEASE "${CMAKE_${lang}_FLAGS_RELEASE}")
endforeach()
add_link_options(LINKER:--gc-sections)
