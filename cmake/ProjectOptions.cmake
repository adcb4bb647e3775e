# Project-wide settings for our own Windows targets (not for third-party code).
add_library(tarnwick_options INTERFACE)
target_compile_options(tarnwick_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
  -Wno-sign-conversion -Werror=return-type)
target_compile_definitions(tarnwick_options INTERFACE
  UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
