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
  find_program(MINGW64_CXX x86_64-w64-mingw32-g++)
endif()

# windows_build(NAME FOLDER ARCH): the Windows half cross-built with cmake/mingw-ARCH.cmake.
function(windows_build name folder arch)
  include(ExternalProject)
  ExternalProject_Add(${name}
    SOURCE_DIR "${CMAKE_SOURCE_DIR}"
    BINARY_DIR "${folder}"
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${arch}.cmake
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DRENDER_MODE=${RENDER_MODE}
    BUILD_ALWAYS 1
    INSTALL_COMMAND "")
endfunction()

# wine_runs(LOADER VAR): VAR true when Wine's LOADER starts on this machine. Asked at every
# configure and kept nowhere: a kernel without 32-bit support (no IA32 emulation) cannot start
# the 32-bit loader, and the same build folder may be configured on a machine of either kind.
function(wine_runs loader var)
  execute_process(COMMAND "${loader}" --version RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(result EQUAL 0)
    set(${var} TRUE PARENT_SCOPE)
  else()
    set(${var} FALSE PARENT_SCOPE)
  endif()
endfunction()

# The released MAIN.exe is 32-bit and is always built; the tests under Wine run it where it can
# run, or else the same program built for 64-bit Windows, under wine64 in a win64 prefix.
if(MINGW_CXX)
  set(WIN_BUILD_DIR "${CMAKE_BINARY_DIR}/win")
  windows_build(windows "${WIN_BUILD_DIR}" i686)
  set(WINE32_LOADER /usr/lib/wine/wine)
  set(WINE64_LOADER /usr/lib/wine/wine64)
  wine_runs("${WINE32_LOADER}" wine32_runs)
  if(wine32_runs)
    set(WINE_TEST_DIR "${WIN_BUILD_DIR}")
    set(WINE_TEST_LOADER wine)
    set(WINE_TEST_ARCH win32)
  elseif(EXISTS "${WINE32_LOADER}")
    set(WIN32_NOT_RUN "this kernel runs no 32-bit programs (${WINE32_LOADER} does not start)")
  else()
    set(WIN32_NOT_RUN "Wine's 32-bit part is not installed (${WINE32_LOADER})")
  endif()
  if(WIN32_NOT_RUN)
    wine_runs("${WINE64_LOADER}" wine64_runs)
    if(wine64_runs AND MINGW64_CXX)
      set(WINE_TEST_DIR "${CMAKE_BINARY_DIR}/win64")
      set(WINE_TEST_LOADER "${WINE64_LOADER}")
      set(WINE_TEST_ARCH win64)
      windows_build(windows64 "${WINE_TEST_DIR}" x86_64)
      message(NOTICE "MAIN.exe cannot run here, ${WIN32_NOT_RUN}: the tests under Wine run it "
        "built for 64-bit Windows (${WINE_TEST_DIR}) under wine64")
    else()
      message(NOTICE "MAIN.exe cannot run here, the tests under Wine are left out: ${WIN32_NOT_RUN}"
        " (and no 64-bit build under wine64: x86_64-w64-mingw32-g++ or ${WINE64_LOADER} missing)")
    endif()
  endif()
else()
  message(STATUS "No Windows build (i686-w64-mingw32-g++ not found, or VIDEOOUT_WINDOWS off)")
endif()

add_subdirectory(tests)
