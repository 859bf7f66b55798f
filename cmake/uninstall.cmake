# Removes every file listed in an install manifest (cmake -DMANIFEST=... -P uninstall.cmake).
# The manifest lists paths without DESTDIR: the same DESTDIR as for the install is
# taken from the environment.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} is missing (run make install first).")
endif()
file(STRINGS "${MANIFEST}" files)
foreach(listed IN LISTS files)
  set(f "$ENV{DESTDIR}${listed}")
  if(EXISTS "${f}" OR IS_SYMLINK "${f}")
    message(STATUS "Removing ${f}")
    file(REMOVE "${f}")
  endif()
endforeach()
