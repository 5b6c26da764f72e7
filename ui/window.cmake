# The main window and the program's start (Windows only; included from ui/CMakeLists.txt).
enable_language(RC)

add_library(bu_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/accessibility.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_name.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dpi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/path_field.cpp
  ${CMAKE_CURRENT_LIST_DIR}/status_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_room.cpp
  ${CMAKE_CURRENT_LIST_DIR}/work_area.cpp
)
# ole32 for COM, which the accessibility service needs; oleacc and uuid only for that service's
# identifiers, so that oleacc.dll itself is not loaded at start.
target_link_libraries(bu_window PUBLIC bu_state comctl32 gdi32 user32 ole32 oleacc uuid)
if(MINGW)
  # wWinMain as the entry point; MSVC finds it by itself.
  target_compile_options(bu_window PUBLIC -municode)
endif()
if(TARGET bu_upgrade)
  target_link_libraries(bu_window PUBLIC bu_upgrade)
endif()

# The version resource and the manifest take the project's version (see the top CMakeLists.txt).
list(JOIN BU_VERSION_NUMBERS "," BU_VERSION_COMMAS)
set(resource_dir ${CMAKE_CURRENT_BINARY_DIR}/resource)
configure_file(${CMAKE_CURRENT_LIST_DIR}/brenlow_upgrade.manifest
  ${resource_dir}/brenlow_upgrade.manifest @ONLY)
file(CONFIGURE OUTPUT ${resource_dir}/version_resource.h CONTENT [[
// Written by CMake from the project's version for the resource file.
#define BU_VERSION_COMMAS @BU_VERSION_COMMAS@
#define BU_VERSION_DOTTED "@BU_VERSION_DOTTED@"
#define BU_PRODUCT_VERSION "@PROJECT_VERSION@"
#define BU_MANIFEST_FILE "@resource_dir@/brenlow_upgrade.manifest"
]] @ONLY)

# Embeds the program's manifest in that executable, as the program embeds it: the program and
# every test executable that makes its windows then get the same common controls and DPI
# awareness.
set(BU_RESOURCE_DIR ${resource_dir} CACHE INTERNAL "The resource files that CMake writes")
function(bu_embed_manifest target)
  set(manifest_rc ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/brenlow_upgrade_manifest.rc)
  target_sources(${target} PRIVATE ${manifest_rc})
  # The resource compiler finds the generated header there, which names the versioned manifest.
  target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${BU_RESOURCE_DIR}>)
  set_source_files_properties(${manifest_rc} TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${BU_RESOURCE_DIR}/brenlow_upgrade.manifest;${BU_RESOURCE_DIR}/version_resource.h")
  if(MSVC)
    # The resource file embeds the manifest; a second one from the linker would clash with it.
    target_link_options(${target} PRIVATE /MANIFEST:NO)
  endif()
endfunction()

add_executable(BrenlowUpgrade WIN32
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brenlow_upgrade.rc
)
target_link_libraries(BrenlowUpgrade PRIVATE bu_window)
bu_embed_manifest(BrenlowUpgrade)
if(MINGW)
  # No link time in the header, so that the same sources give the same exe; a release carries
  # no symbols.
  target_link_options(BrenlowUpgrade PRIVATE -municode -Wl,--no-insert-timestamp
    $<$<CONFIG:Release>:-s>)
endif()
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/brenlow_upgrade.rc PROPERTIES
  OBJECT_DEPENDS "${resource_dir}/version_resource.h")
