# In a cross build the header-only libraries (CLI11, nlohmann-json) and the libretro
# API header are taken from the build machine: they are the same text for every
# target. Each is linked into a folder of its own, because naming the build
# machine's whole include folder would put its C library's headers before the
# target's.
set(QV_HOST_HEADERS ${CMAKE_BINARY_DIR}/hostheaders)
foreach(entry nlohmann CLI libretro-common/libretro.h)
  find_path(QV_HOST_${entry} ${entry} PATHS /usr/include /usr/local/include NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  get_filename_component(name ${entry} NAME)
  file(MAKE_DIRECTORY ${QV_HOST_HEADERS})
  if(NOT EXISTS ${QV_HOST_HEADERS}/${name})
    file(CREATE_LINK ${QV_HOST_${entry}}/${entry} ${QV_HOST_HEADERS}/${name} SYMBOLIC)
  endif()
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${QV_HOST_HEADERS})
set(CLI11_INCLUDE_DIR ${QV_HOST_HEADERS} CACHE PATH "CLI11's headers")
set(LIBRETRO_INCLUDE_DIR ${QV_HOST_HEADERS} CACHE PATH "libretro.h")
