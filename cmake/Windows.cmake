# The Windows build: MAIN.exe, the stand-in KERNEL.dll, and the scripted test core.

set(WIN_FLAGS ${FRONTEND_WARNINGS} -fno-exceptions -fno-rtti -D__USE_MINGW_ANSI_STDIO=0)
set(WIN_RUNTIME_LINK -static-libgcc -static-libstdc++)
# 32-bit (released) or 64-bit (for the tests where the kernel runs no 32-bit programs). C names
# carry a leading underscore on 32-bit Windows only.
find_program(DLLTOOL NAMES ${MINGW_TRIPLET}-dlltool REQUIRED)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(WIN_C_PREFIX _)
else()
  set(WIN_C_PREFIX "")
endif()

# MAIN.exe and every KERNEL.dll import each other by name: one import library per side,
# made from the export definitions so that neither has to be linked first.
function(add_import_library target def dllname)
  set(lib "${CMAKE_BINARY_DIR}/lib${target}.a")
  add_custom_command(OUTPUT "${lib}"
    COMMAND "${DLLTOOL}" -d "${def}" -l "${lib}" -D "${dllname}"
    DEPENDS "${def}" VERBATIM)
  add_custom_target(${target}_gen DEPENDS "${lib}")
  add_library(${target} INTERFACE)
  add_dependencies(${target} ${target}_gen)
  target_link_libraries(${target} INTERFACE "${lib}")
endfunction()
add_import_library(kernel_imports "${CMAKE_SOURCE_DIR}/kernel/kernel.def" KERNEL.dll)
add_import_library(main_imports "${CMAKE_SOURCE_DIR}/resources/main.def" MAIN.exe)

enable_language(RC)

# Everything but the renderer front is the same in every mode: compiled once.
set(FRONTEND_MODE_SOURCE "${CMAKE_SOURCE_DIR}/render/render.cpp")
set(FRONTEND_COMMON_SOURCES ${FRONTEND_SOURCES})
list(REMOVE_ITEM FRONTEND_COMMON_SOURCES "${FRONTEND_MODE_SOURCE}")
add_library(frontend_objects OBJECT ${FRONTEND_COMMON_SOURCES}
  "${CMAKE_SOURCE_DIR}/platform/windows/system_crash.cpp")
target_include_directories(frontend_objects PRIVATE "${CMAKE_SOURCE_DIR}")
target_compile_options(frontend_objects PRIVATE ${WIN_FLAGS})

# MAIN.exe in a mode: entry point Main_Startup, no C runtime start-up code before it.
function(add_frontend target mode outdir)
  add_executable(${target} $<TARGET_OBJECTS:frontend_objects> "${FRONTEND_MODE_SOURCE}"
    "${CMAKE_SOURCE_DIR}/resources/main.rc")
  set_target_properties(${target} PROPERTIES OUTPUT_NAME MAIN SUFFIX ".exe"
    RUNTIME_OUTPUT_DIRECTORY "${outdir}")
  target_include_directories(${target} PRIVATE "${CMAKE_SOURCE_DIR}")
  target_compile_definitions(${target} PRIVATE RENDER_MODE=${mode})
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${WIN_FLAGS}>)
  target_link_options(${target} PRIVATE -mconsole -nostartfiles -Wl,-e,${WIN_C_PREFIX}Main_Startup
    ${WIN_RUNTIME_LINK} "${CMAKE_SOURCE_DIR}/resources/main.def")
  target_link_libraries(${target} PRIVATE kernel_imports user32 gdi32 winmm kernel32)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
    "${CMAKE_SOURCE_DIR}/resources/main.def" "${CMAKE_SOURCE_DIR}/resources/main.ico")
endfunction()

add_frontend(main ${RENDER_MODE} "${CMAKE_BINARY_DIR}/frontend")

# A core library named KERNEL.dll in its own folder, with a copy of MAIN.exe beside it
# (the executable must keep its name, or the core would load a second one).
function(add_core target outdir)
  add_library(${target} SHARED ${ARGN} "${CMAKE_SOURCE_DIR}/kernel/kernel.def")
  set_target_properties(${target} PROPERTIES OUTPUT_NAME KERNEL PREFIX "" SUFFIX ".dll"
    RUNTIME_OUTPUT_DIRECTORY "${outdir}")
  target_include_directories(${target} PRIVATE "${CMAKE_SOURCE_DIR}")
  target_compile_options(${target} PRIVATE ${WIN_FLAGS})
  target_link_options(${target} PRIVATE ${WIN_RUNTIME_LINK})
  target_link_libraries(${target} PRIVATE main_imports user32 gdi32 kernel32)
  # On every build: the front-end changes without the core being relinked.
  add_custom_target(${target}_frontend ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "$<TARGET_FILE:main>" "${outdir}/MAIN.exe"
    DEPENDS main ${target} VERBATIM)
endfunction()

add_subdirectory(kernel)
add_subdirectory(tests/core)

# One MAIN.exe per render mode, each in a folder of its own beside the scripted test core,
# for the picture tests and the rendering benchmark.
foreach(mode RANGE 0 10)
  set(dir "${CMAKE_BINARY_DIR}/modes/${mode}")
  add_frontend(main_mode${mode} ${mode} "${dir}")
  # On every build, not only when MAIN.exe is relinked: the test core changes on its own.
  add_custom_target(test_core_mode${mode} ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "$<TARGET_FILE:test_core>" "${dir}/KERNEL.dll"
    DEPENDS test_core main_mode${mode} VERBATIM)
endforeach()

# The fake winmm.dll and the folder of the joystick tests.
add_subdirectory(tests/fakewinmm)
