# The editor commands of halden-host (gui, snapshot): a top-level X11 window
# parents the plug-in's editor, cairo writes the grabbed pixels as PNG.
# Included by whichever directory needs the library first.
if(NOT TARGET halden_host_gui)
  pkg_check_modules(HALDEN_HOST_X11 REQUIRED IMPORTED_TARGET GLOBAL x11 cairo)
  add_library(halden_host_gui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/editor_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gui_command.cpp
    ${CMAKE_CURRENT_LIST_DIR}/snapshot_command.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_host_window.cpp
  )
  target_link_libraries(halden_host_gui PUBLIC halden_host_tool PkgConfig::HALDEN_HOST_X11)
endif()
