# add_program(NAME SOURCES... LIBRARIES libs...): a program of the portable layers, whose entry
# point is WinMain. On Windows a GUI-subsystem executable on the system's own DLLs, with the C++
# runtime linked in so that it needs nothing else; in the browser NAME.js and NAME.wasm for a
# page, on the web screen; elsewhere it runs on the SDL screen. Off Windows a main() calls
# WinMain.
function(add_program name)
  cmake_parse_arguments(PARSE_ARGV 1 program "" "" "SOURCES;LIBRARIES")
  add_executable(${name} ${program_SOURCES})
  target_link_libraries(${name} PRIVATE ${program_LIBRARIES})
  if(WIN32)
    set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE TRUE)
    target_link_options(${name} PRIVATE -static $<$<CONFIG:Release>:-s>)
  elseif(EMSCRIPTEN)
    target_link_libraries(${name} PRIVATE platform_web win32_main)
    # The blocking frame loop keeps running through Asyncify: each wait gives the browser the
    # thread. One factory per program, so that the page can start it again.
    string(REPLACE "-" "_" factory "create_${name}")
    # Windows never maps the first 64 KiB, and resource and class names below 0x10000 are
    # numbers (MAKEINTRESOURCE) rather than addresses: the module's memory starts above them.
    target_link_options(${name} PRIVATE -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
                        -sGLOBAL_BASE=65536 -sALLOW_MEMORY_GROWTH -sMODULARIZE
                        -sEXPORT_NAME=${factory} -sENVIRONMENT=web
                        -sFORCE_FILESYSTEM "-sEXPORTED_RUNTIME_METHODS=[FS]")
  else()
    target_link_libraries(${name} PRIVATE platform_sdl win32_main)
  endif()
endfunction()
