# add_program(NAME SOURCES... LIBRARIES libs...): a program of the portable layers, whose entry
# point is WinMain. On Windows a GUI-subsystem executable on the system's own DLLs, with the C++
# runtime linked in so that it needs nothing else; elsewhere it runs on the SDL screen, with a
# main() that calls WinMain.
function(add_program name)
  cmake_parse_arguments(PARSE_ARGV 1 program "" "" "SOURCES;LIBRARIES")
  add_executable(${name} ${program_SOURCES})
  target_link_libraries(${name} PRIVATE ${program_LIBRARIES})
  if(WIN32)
    set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE TRUE)
    target_link_options(${name} PRIVATE -static $<$<CONFIG:Release>:-s>)
  else()
    target_link_libraries(${name} PRIVATE platform_sdl win32_main)
  endif()
endfunction()
