# What the Windows builds install, and the zip of qorv that `make windows` makes.
install(TARGETS qorv RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION .)

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
