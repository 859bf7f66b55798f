# Windows builds (MSVC, MinGW, and the MinGW cross build of `make windows`).

# Windows 10's API (CNG's SHA-1, the shell's links); windows.h without its min and
# max macros, and with the wide ("W") functions as the default names.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 NOMINMAX WIN32_LEAN_AND_MEAN UNICODE
                        _UNICODE)
enable_language(RC)

# The version resource and the manifest (UTF-8 code page, long paths) of a program,
# and its icon when one is given.
function(qv_windows_resource target description icon)
  set(QV_RC_NAME ${target})
  set(QV_RC_DESCRIPTION ${description})
  set(QV_RC_MANIFEST ${CMAKE_SOURCE_DIR}/data/windows/quorvane.manifest)
  set(QV_RC_ICON "")
  if(icon)
    set(QV_RC_ICON "1 ICON \"${icon}\"")
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/data/windows/version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  if(MSVC)
    # The manifest comes from the resource, not from the linker.
    target_link_options(${target} PRIVATE /MANIFEST:NO)
  endif()
endfunction()

if(CMAKE_CROSSCOMPILING)
  # Tests run under Wine, in a prefix of the build folder's own, without a display
  # (console programs need none) and without Wine's own messages.
  find_program(QV_WINE NAMES wine64 wine PATHS /usr/lib/wine REQUIRED)
  find_program(QV_WINESERVER NAMES wineserver PATHS /usr/lib/wine REQUIRED)
  set(QV_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
endif()
