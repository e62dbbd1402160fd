# The native build (Linux): the same front-end over our window system on SDL2 (platform/sdl)
# and our own software GDI (platform/gdi).

# Our software GDI: no window system, testable on its own.
set(NATIVE_GDI_SOURCES gdi_bitmap.cpp gdi_blit.cpp gdi_dc.cpp gdi_dibits.cpp gdi_fast.cpp
  gdi_maskblt.cpp gdi_objects.cpp gdi_palette.cpp gdi_rows.cpp gdi_stretch.cpp)
list(TRANSFORM NATIVE_GDI_SOURCES PREPEND "${CMAKE_SOURCE_DIR}/platform/gdi/")
add_library(native_gdi STATIC ${NATIVE_GDI_SOURCES})
target_include_directories(native_gdi PUBLIC "${CMAKE_SOURCE_DIR}")
target_compile_options(native_gdi PRIVATE ${FRONTEND_WARNINGS} -fno-exceptions -fno-rtti -O3)
set_target_properties(native_gdi PROPERTIES POSITION_INDEPENDENT_CODE ON)

# The GDI benchmark: times the render modes' per-frame drawing (prints figures only).
add_executable(gdi_bench "${CMAKE_SOURCE_DIR}/bench/gdi_bench.cpp")
target_compile_options(gdi_bench PRIVATE ${FRONTEND_WARNINGS})
target_link_libraries(gdi_bench PRIVATE native_gdi)

# The window, input and system layer over SDL2, on top of the GDI.
find_package(SDL2 QUIET)
if(NOT SDL2_FOUND)
  message(WARNING "SDL2 not found (libsdl2-dev): the native program is skipped")
  return()
endif()

set(NATIVE_PLATFORM_SOURCES
  window_core.cpp window_geometry.cpp window_desktop.cpp window_focus.cpp window_paint.cpp
  window_icon.cpp
  message_queue.cpp events.cpp input_keys.cpp input_mouse.cpp display.cpp joystick.cpp
  system_process.cpp system_clock.cpp system_modules.cpp system_crash.cpp)
list(TRANSFORM NATIVE_PLATFORM_SOURCES PREPEND "${CMAKE_SOURCE_DIR}/platform/sdl/")
set(NATIVE_ICON "${CMAKE_SOURCE_DIR}/resources/main.ico")
add_library(native_platform STATIC ${NATIVE_PLATFORM_SOURCES})
target_include_directories(native_platform PUBLIC "${CMAKE_SOURCE_DIR}")
target_compile_options(native_platform PRIVATE ${FRONTEND_WARNINGS} -fno-exceptions -fno-rtti)
# The window icon is assembled in from the icon file.
target_compile_definitions(native_platform PRIVATE NATIVE_ICON_FILE="${NATIVE_ICON}")
set_source_files_properties("${CMAKE_SOURCE_DIR}/platform/sdl/window_icon.cpp"
  PROPERTIES OBJECT_DEPENDS "${NATIVE_ICON}")
# Xlib only to ask the X server whether a window manager runs (libsdl2-dev brings it).
find_package(X11 REQUIRED)
target_link_libraries(native_platform PUBLIC native_gdi SDL2::SDL2 X11::X11 ${CMAKE_DL_LIBS})

# Where the program and its core go: the core library beside the program, found through
# RPATH $ORIGIN.
set(NATIVE_BIN "${CMAKE_BINARY_DIR}/native/bin")

# The stand-in core as a shared library with undefined references to the program's nine
# exports, resolved when the program loads it.
set(NATIVE_CORE_SOURCES card.cpp echo.cpp font.cpp handover.cpp kernel.cpp palette.cpp)
list(TRANSFORM NATIVE_CORE_SOURCES PREPEND "${CMAKE_SOURCE_DIR}/kernel/")
add_library(native_core SHARED ${NATIVE_CORE_SOURCES})
set_target_properties(native_core PROPERTIES OUTPUT_NAME kernel
  LIBRARY_OUTPUT_DIRECTORY "${NATIVE_BIN}")
target_include_directories(native_core PRIVATE "${CMAKE_SOURCE_DIR}")
target_compile_options(native_core PRIVATE ${FRONTEND_WARNINGS} -fno-exceptions -fno-rtti)

# The program in a render mode. -z now makes the loader resolve every function of the core
# before main: a missing library or function ends the start with the loader's one line.
# Only the nine exports and the Win32 subset are visible to the core: exports.list, which the
# native_exports test holds to the functions platform/winapi.h declares.
function(add_native_frontend target mode dir)
  add_executable(${target} "${FRONTEND_MODE_SOURCE}" "${CMAKE_SOURCE_DIR}/platform/sdl/main.cpp")
  set_target_properties(${target} PROPERTIES OUTPUT_NAME video-out RUNTIME_OUTPUT_DIRECTORY "${dir}"
    BUILD_WITH_INSTALL_RPATH TRUE INSTALL_RPATH "$ORIGIN")
  target_compile_definitions(${target} PRIVATE RENDER_MODE=${mode})
  target_compile_options(${target} PRIVATE ${FRONTEND_WARNINGS} -fno-exceptions -fno-rtti)
  target_link_libraries(${target} PRIVATE frontend_common native_platform native_core)
  target_link_options(${target} PRIVATE -Wl,-z,now
    "-Wl,--dynamic-list=${CMAKE_SOURCE_DIR}/platform/sdl/exports.list")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
    "${CMAKE_SOURCE_DIR}/platform/sdl/exports.list")
endfunction()

add_native_frontend(video_out ${RENDER_MODE} "${NATIVE_BIN}")

# One program per render mode, for the scenarios and benchmarks, which put the scripted core
# beside a copy of it; these alone carry the test hooks.
add_subdirectory("${CMAKE_SOURCE_DIR}/platform/sdl/hooks" "${CMAKE_BINARY_DIR}/native/hooks")
set(NATIVE_BUILD_DIR "${CMAKE_BINARY_DIR}/native")
foreach(mode RANGE 0 10)
  add_native_frontend(video_out_mode${mode} ${mode} "${NATIVE_BUILD_DIR}/programs/${mode}")
  target_link_libraries(video_out_mode${mode} PRIVATE native_hooks)
endforeach()
add_subdirectory(tests/core "${CMAKE_BINARY_DIR}/tests/core-native")

# The idle-pass benchmark (prints figures; not a test).
add_executable(native_idle_bench "${CMAKE_SOURCE_DIR}/bench/native_idle.cpp")
target_compile_options(native_idle_bench PRIVATE ${FRONTEND_WARNINGS})
target_link_libraries(native_idle_bench PRIVATE native_platform)
