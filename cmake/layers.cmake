# The layers' include rules, held by the build. Every source includes from the top of the tree
# ("display/display_engine.h", "platform/win32.h"), but no target sees the whole tree: each
# sees a folder of its own under the build tree that holds links to just the paths it may
# include. A file that includes across a forbidden edge fails to compile; tests/layers checks
# the same rules over the sources, finer than folders.
#
#   expose_paths(TARGET VISIBILITY PATH...)
#
# PATH is a file or folder of the source tree; VISIBILITY is PUBLIC, PRIVATE or INTERFACE, as
# for target_include_directories (PUBLIC paths reach whoever links the target).
function(expose_paths target visibility)
  set(view ${CMAKE_BINARY_DIR}/include_views/${target}_${visibility})
  foreach(path IN LISTS ARGN)
    get_filename_component(parent ${view}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT EXISTS ${view}/${path})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${view}/${path} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} ${visibility} ${view})
endfunction()
