# The main window and the program's start (Windows only; included from ui/CMakeLists.txt).
enable_language(RC)

add_library(bu_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/app_name.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dpi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_layout.cpp
)
target_link_libraries(bu_window PUBLIC bu_state comctl32 comdlg32 gdi32 user32)
if(MINGW)
  # wWinMain as the entry point; MSVC finds it by itself.
  target_compile_options(bu_window PUBLIC -municode)
endif()
if(TARGET bu_upgrade)
  target_link_libraries(bu_window PUBLIC bu_upgrade)
endif()

add_executable(BrenlowUpgrade WIN32
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brenlow_upgrade.rc
)
target_link_libraries(BrenlowUpgrade PRIVATE bu_window)
if(MINGW)
  target_link_options(BrenlowUpgrade PRIVATE -municode)
elseif(MSVC)
  # The resource file embeds the manifest; a second one from the linker would clash with it.
  target_link_options(BrenlowUpgrade PRIVATE /MANIFEST:NO)
endif()
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/brenlow_upgrade.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/brenlow_upgrade.manifest)
