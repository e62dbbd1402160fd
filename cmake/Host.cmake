# The host build: the front-end over the recording fakes, its unit tests, and the Windows
# build with its tests under Wine.

find_package(GTest REQUIRED)
enable_testing()

# The renderer front carries the render mode; everything else is the same in every mode.
set(FRONTEND_MODE_SOURCE "${CMAKE_SOURCE_DIR}/render/render.cpp")
set(FRONTEND_COMMON_SOURCES ${FRONTEND_SOURCES})
list(REMOVE_ITEM FRONTEND_COMMON_SOURCES "${FRONTEND_MODE_SOURCE}")
add_library(frontend_common STATIC ${FRONTEND_COMMON_SOURCES})
target_include_directories(frontend_common PUBLIC "${CMAKE_SOURCE_DIR}")
target_compile_options(frontend_common PRIVATE ${FRONTEND_WARNINGS} -fno-exceptions -fno-rtti)

add_library(platform_fake STATIC
  "${CMAKE_SOURCE_DIR}/platform/fake/fake_platform.cpp")
target_include_directories(platform_fake PUBLIC "${CMAKE_SOURCE_DIR}")
target_compile_options(platform_fake PRIVATE ${FRONTEND_WARNINGS})

if(EXISTS "${CMAKE_SOURCE_DIR}/kernel/CMakeLists.txt")
  add_subdirectory(kernel)
endif()
add_subdirectory(tests/unit)
include(cmake/Native.cmake)

find_program(MINGW_CXX i686-w64-mingw32-g++)
if(MINGW_CXX)
  include(ExternalProject)
  set(WIN_BUILD_DIR "${CMAKE_BINARY_DIR}/win")
  ExternalProject_Add(windows
    SOURCE_DIR "${CMAKE_SOURCE_DIR}"
    BINARY_DIR "${WIN_BUILD_DIR}"
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    BUILD_ALWAYS 1
    INSTALL_COMMAND "")
else()
  message(WARNING "i686-w64-mingw32-g++ not found: the Windows build and its tests are skipped")
endif()

add_subdirectory(tests)
