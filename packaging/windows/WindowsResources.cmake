# The resource script of Sentrabus.exe (icons 128, 140, 141 and the version),
# compiled with the toolchain's windres. Included at the top level of a
# Windows build, since a language can only be enabled there:
#
#   sentrabus_add_windows_resources(<target>)   adds the script to the target
enable_language(RC)

set(SENTRABUS_ICON_DIR ${CMAKE_CURRENT_LIST_DIR}/icons)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Sentrabus.rc.in ${CMAKE_BINARY_DIR}/packaging/windows/Sentrabus.rc @ONLY)

set(SENTRABUS_ICON_FILES ${SENTRABUS_ICON_DIR}/128.ico ${SENTRABUS_ICON_DIR}/140.ico ${SENTRABUS_ICON_DIR}/141.ico)

function(sentrabus_add_windows_resources target)
  set(script ${CMAKE_BINARY_DIR}/packaging/windows/Sentrabus.rc)
  target_sources(${target} PRIVATE ${script})
  # windres reads the icons, which CMake does not see: name them.
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${SENTRABUS_ICON_FILES}")
endfunction()
