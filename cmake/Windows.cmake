# The Windows build: MAIN.exe, the stand-in KERNEL.dll, and the scripted test core.

set(WIN_FLAGS ${FRONTEND_WARNINGS} -fno-exceptions -fno-rtti -D__USE_MINGW_ANSI_STDIO=0)
set(WIN_RUNTIME_LINK -static-libgcc -static-libstdc++)
find_program(DLLTOOL NAMES i686-w64-mingw32-dlltool REQUIRED)

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

# The front-end: entry point Main_Startup, no C runtime start-up code before it.
add_executable(main ${FRONTEND_SOURCES} "${CMAKE_SOURCE_DIR}/resources/main.rc")
set_target_properties(main PROPERTIES OUTPUT_NAME MAIN SUFFIX ".exe"
  RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/frontend")
target_include_directories(main PRIVATE "${CMAKE_SOURCE_DIR}")
target_compile_options(main PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${WIN_FLAGS}>)
target_link_options(main PRIVATE -mconsole -nostartfiles -Wl,-e,_Main_Startup
  ${WIN_RUNTIME_LINK} "${CMAKE_SOURCE_DIR}/resources/main.def")
target_link_libraries(main PRIVATE kernel_imports user32 gdi32 winmm kernel32)
set_property(TARGET main APPEND PROPERTY LINK_DEPENDS "${CMAKE_SOURCE_DIR}/resources/main.def")

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
  add_dependencies(${target} main)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "$<TARGET_FILE:main>" "${outdir}/MAIN.exe")
endfunction()

foreach(dir kernel tests/wine/testcore)
  if(EXISTS "${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt")
    add_subdirectory(${dir})
  endif()
endforeach()
