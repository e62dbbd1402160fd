# The native build (Linux): the same front-end over SDL2 windowing and our own software GDI.

# Our software GDI: no window system, testable on its own.
file(GLOB NATIVE_GDI_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/platform/native/gdi_*.cpp")
if(NOT NATIVE_GDI_SOURCES)
  return()
endif()
add_library(native_gdi STATIC ${NATIVE_GDI_SOURCES})
target_include_directories(native_gdi PUBLIC "${CMAKE_SOURCE_DIR}")
target_compile_options(native_gdi PRIVATE ${FRONTEND_WARNINGS} -fno-exceptions -fno-rtti -O3)
set_target_properties(native_gdi PROPERTIES POSITION_INDEPENDENT_CODE ON)

# The conformance cases over our GDI; tests/gdi/compare.sh runs them beside Wine's GDI.
add_executable(gdi_cases_native "${CMAKE_SOURCE_DIR}/tests/gdi/gdi_cases.cpp"
  "${CMAKE_SOURCE_DIR}/tests/gdi/gdi_driver.cpp" "${CMAKE_SOURCE_DIR}/tests/gdi/gdi_cases_native.cpp")
target_compile_options(gdi_cases_native PRIVATE ${FRONTEND_WARNINGS})
target_link_libraries(gdi_cases_native PRIVATE native_gdi)

# The GDI benchmark: times the render modes' per-frame drawing (prints figures only).
add_executable(gdi_bench "${CMAKE_SOURCE_DIR}/bench/gdi_bench.cpp")
target_compile_options(gdi_bench PRIVATE ${FRONTEND_WARNINGS})
target_link_libraries(gdi_bench PRIVATE native_gdi)

# What the native GDI promises beyond Wine's behaviour: handles, counts, failures, window DCs.
include(GoogleTest)
add_executable(gdi_native_test "${CMAKE_SOURCE_DIR}/tests/gdi/gdi_native_test.cpp"
  "${CMAKE_SOURCE_DIR}/tests/gdi/gdi_cases.cpp")
target_compile_options(gdi_native_test PRIVATE ${FRONTEND_WARNINGS})
target_link_libraries(gdi_native_test PRIVATE native_gdi GTest::gtest_main)
gtest_discover_tests(gdi_native_test PROPERTIES TIMEOUT 30 LABELS unit)
