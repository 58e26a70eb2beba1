# add_program(NAME SOURCES src... LIBRARIES lib... [PAGE_TITLE title PAGE_TEXT text] [INSTALL])
#
# A program of the portable layers, whose entry point is WinMain, made for every platform by
# this one call in the program's own folder:
# - on Linux it runs on the SDL screen (a main() calls WinMain);
# - on Windows it is a GUI-subsystem executable on the system's own DLLs, with the C++ runtime
#   linked in so that it needs nothing else;
# - in the browser it is NAME.js and NAME.wasm beside the pages, on the web screen; with
#   PAGE_TITLE (and PAGE_TEXT, a line under the title) its page NAME.html is made from
#   pages/program.html.in, which starts it, offers the looks and full screen, and links back to
#   the demo.
# INSTALL puts it in the packages: /usr/bin in the Debian package, the top of the Windows zip.
function(add_program name)
  cmake_parse_arguments(PARSE_ARGV 1 program "INSTALL" "PAGE_TITLE;PAGE_TEXT"
                        "SOURCES;LIBRARIES")
  add_executable(${name} ${program_SOURCES})
  target_link_libraries(${name} PRIVATE ${program_LIBRARIES})
  # The program's files include their own folder as "examples/NAME/file.h".
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  expose_paths(${name} PRIVATE ${folder})
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
    # Every program's .js and .wasm sit beside the pages.
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    if(program_PAGE_TITLE)
      # Put into the page as they stand: plain text only.
      if("${program_PAGE_TITLE}${program_PAGE_TEXT}" MATCHES "[<>&\"]")
        message(FATAL_ERROR "add_program(${name}): PAGE_TITLE and PAGE_TEXT are plain text, "
                            "without < > & or \"")
      endif()
      set(PROGRAM_NAME ${name})
      set(PROGRAM_FACTORY ${factory})
      set(PROGRAM_TITLE ${program_PAGE_TITLE})
      set(PROGRAM_TEXT ${program_PAGE_TEXT})
      configure_file(${PROJECT_SOURCE_DIR}/pages/program.html.in ${CMAKE_BINARY_DIR}/${name}.html
                     @ONLY)
    endif()
  else()
    target_link_libraries(${name} PRIVATE platform_sdl win32_main)
  endif()
  if(program_INSTALL)
    if(WIN32)
      install(TARGETS ${name} RUNTIME DESTINATION .)
    elseif(NOT EMSCRIPTEN)
      include(GNUInstallDirs)
      install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
  endif()
endfunction()
