# The host build: the native program (over SDL2 and our software GDI), the unit tests, the
# cross-compiled Windows build, and the scenarios on both platforms.

find_package(GTest REQUIRED)
enable_testing()

# The renderer front carries the render mode; everything else is the same in every mode.
set(FRONTEND_MODE_SOURCE "${CMAKE_SOURCE_DIR}/render/render.cpp")
set(FRONTEND_COMMON_SOURCES ${FRONTEND_SOURCES})
list(REMOVE_ITEM FRONTEND_COMMON_SOURCES "${FRONTEND_MODE_SOURCE}")
add_library(frontend_common STATIC ${FRONTEND_COMMON_SOURCES})
target_include_directories(frontend_common PUBLIC "${CMAKE_SOURCE_DIR}")
target_compile_options(frontend_common PRIVATE ${FRONTEND_WARNINGS} -fno-exceptions -fno-rtti)

include(cmake/Native.cmake)
add_subdirectory(tests/unit)

option(VIDEOOUT_WINDOWS "Cross-build MAIN.exe (mingw-w64) and run its scenarios under Wine" ON)
if(VIDEOOUT_WINDOWS)
  find_program(MINGW_CXX i686-w64-mingw32-g++)
endif()
if(MINGW_CXX)
  include(ExternalProject)
  set(WIN_BUILD_DIR "${CMAKE_BINARY_DIR}/win")
  ExternalProject_Add(windows
    SOURCE_DIR "${CMAKE_SOURCE_DIR}"
    BINARY_DIR "${WIN_BUILD_DIR}"
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DRENDER_MODE=${RENDER_MODE}
    BUILD_ALWAYS 1
    INSTALL_COMMAND "")
  # Whether MAIN.exe can run under Wine here: asked at every configure and kept nowhere, for a
  # kernel without 32-bit support (no IA32 emulation) cannot start Wine's 32-bit loader at all.
  set(WINE32_LOADER /usr/lib/wine/wine)
  execute_process(COMMAND "${WINE32_LOADER}" --version RESULT_VARIABLE wine32_result
    OUTPUT_QUIET ERROR_QUIET)
  if(wine32_result EQUAL 0)
    set(WINE_TEST_DIR "${WIN_BUILD_DIR}")
  elseif(EXISTS "${WINE32_LOADER}")
    set(WINE_UNAVAILABLE "this kernel runs no 32-bit programs (${WINE32_LOADER} does not start)")
  else()
    set(WINE_UNAVAILABLE "Wine's 32-bit part is not installed (${WINE32_LOADER})")
  endif()
  if(WINE_UNAVAILABLE)
    message(NOTICE "MAIN.exe cannot run here, the tests under Wine are left out: ${WINE_UNAVAILABLE}")
  endif()
else()
  message(STATUS "No Windows build (i686-w64-mingw32-g++ not found, or VIDEOOUT_WINDOWS off)")
endif()

add_subdirectory(tests)
