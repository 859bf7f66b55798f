# What the Windows builds install: the programs in one folder with the Qt libraries
# windeployqt puts beside the editor, and the NSIS installer CPack makes from it
# (`cmake --build build --target package`), which also registers .nes and .ips.
if(TARGET quorvane)
  install(TARGETS quorvane RUNTIME DESTINATION .)
  install(TARGETS quorvane-playio LIBRARY DESTINATION .)
  # Qt's own deployment tool, run on the installed program and its Play module: the
  # Qt DLLs, the platform and style plugins and Qt Multimedia's back end. It comes
  # with Qt, beside qmake.
  get_target_property(QV_QMAKE Qt6::qmake IMPORTED_LOCATION)
  get_filename_component(QV_QT_BIN ${QV_QMAKE} DIRECTORY)
  find_program(QV_WINDEPLOYQT windeployqt HINTS ${QV_QT_BIN} REQUIRED)
  install(
    CODE "execute_process(COMMAND \"${QV_WINDEPLOYQT}\" --release --no-translations
                  --no-compiler-runtime \"\${CMAKE_INSTALL_PREFIX}/quorvane.exe\"
                  \"\${CMAKE_INSTALL_PREFIX}/$<TARGET_FILE_NAME:quorvane-playio>\"
                  COMMAND_ERROR_IS_FATAL ANY)")
  # SDL2 for game controllers, when it is a DLL.
  if(TARGET SDL2::SDL2)
    get_target_property(QV_SDL_TYPE SDL2::SDL2 TYPE)
    if(QV_SDL_TYPE STREQUAL "SHARED_LIBRARY")
      install(FILES $<TARGET_FILE:SDL2::SDL2> DESTINATION .)
    endif()
  endif()
  # MSVC's runtime, for machines that lack it (MinGW's is linked in).
  if(MSVC)
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION .)
    include(InstallRequiredSystemLibraries)
  endif()
endif()
install(TARGETS qorv RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/windows.md DESTINATION .)

# The installer: NSIS, Start menu entry, and the two file types opened by the editor
# (the previous owner of each extension is not kept: uninstalling removes ours).
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Quorvane)
set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Game parameter editor for Super Mario Bros. images")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quorvane)
set(CPACK_PACKAGE_FILE_NAME quorvane-${PROJECT_VERSION}-windows-x64)
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/data/windows/quorvane.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/data/windows/quorvane.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME quorvane.exe)
set(CPACK_NSIS_DISPLAY_NAME "Quorvane ${PROJECT_VERSION}")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH ON) # offers to put qorv on PATH
set(QV_NSIS_PROGRAM "$INSTDIR\\\\quorvane.exe")
if(TARGET quorvane)
  set(CPACK_PACKAGE_EXECUTABLES quorvane Quorvane)
endif()
# Registry keys per user (HKCU\Software\Classes): no administrator rights needed
# for the associations, and each user keeps their own.
set(QV_NSIS_ASSOCIATE "")
set(QV_NSIS_UNASSOCIATE "")
foreach(type "nes;Quorvane.Game;NES game image" "ips;Quorvane.Patch;IPS patch")
  list(GET type 0 ext)
  list(GET type 1 progid)
  list(GET type 2 caption)
  string(APPEND QV_NSIS_ASSOCIATE
         "WriteRegStr HKCU 'Software\\\\Classes\\\\.${ext}' '' '${progid}'\n"
         "WriteRegStr HKCU 'Software\\\\Classes\\\\${progid}' '' '${caption}'\n"
         "WriteRegStr HKCU 'Software\\\\Classes\\\\${progid}\\\\DefaultIcon' '' '${QV_NSIS_PROGRAM},0'\n"
         "WriteRegStr HKCU 'Software\\\\Classes\\\\${progid}\\\\shell\\\\open\\\\command' '' '\\\"${QV_NSIS_PROGRAM}\\\" \\\"%1\\\"'\n")
  string(APPEND QV_NSIS_UNASSOCIATE
         "DeleteRegKey HKCU 'Software\\\\Classes\\\\${progid}'\n"
         "ReadRegStr $0 HKCU 'Software\\\\Classes\\\\.${ext}' ''\n"
         "StrCmp $0 '${progid}' 0 +2\n"
         "DeleteRegKey HKCU 'Software\\\\Classes\\\\.${ext}'\n")
endforeach()
# Explorer rereads the associations.
set(QV_NSIS_NOTIFY "System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'\n")
if(TARGET quorvane)
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "${QV_NSIS_ASSOCIATE}${QV_NSIS_NOTIFY}")
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "${QV_NSIS_UNASSOCIATE}${QV_NSIS_NOTIFY}")
endif()
include(CPack)

if(CMAKE_CROSSCOMPILING)
  # qorv.exe and the README in one zip. Everything is linked into qorv.exe (the C++
  # runtime, zlib, threads), so no DLL goes with it; the test windows.dlls checks
  # that it asks for none but the system's own.
  set(QV_ZIP_NAME qorv-${PROJECT_VERSION}-windows-x64)
  set(QV_ZIP_STAGE ${CMAKE_BINARY_DIR}/${QV_ZIP_NAME})
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${QV_ZIP_NAME}.zip
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${QV_ZIP_STAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_ZIP_STAGE}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:qorv> ${CMAKE_SOURCE_DIR}/README.md
            ${QV_ZIP_STAGE}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${QV_ZIP_NAME}.zip --format=zip
            ${QV_ZIP_NAME}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DEPENDS qorv ${CMAKE_SOURCE_DIR}/README.md
    COMMENT "Packing ${QV_ZIP_NAME}.zip")
  add_custom_target(windows-zip DEPENDS ${CMAKE_BINARY_DIR}/${QV_ZIP_NAME}.zip)
  if(QV_TESTS)
    add_test(NAME windows.dlls COMMAND ${CMAKE_SOURCE_DIR}/tests/windows/system-dlls.sh
                                       ${CMAKE_OBJDUMP} $<TARGET_FILE:qorv>)
    # Run on the build machine, not under Wine.
    set_tests_properties(windows.dlls PROPERTIES TIMEOUT 60)
  endif()
endif()
