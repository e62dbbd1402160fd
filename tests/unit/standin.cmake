# Unit tests of the stand-in core's window-system-free parts (included from this folder's
# CMakeLists.txt, next to the kernel/ host library).
include(GoogleTest)

add_executable(standin_core_test
  "${CMAKE_CURRENT_LIST_DIR}/standin_handover_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/standin_kernel_test.cpp"
)
target_compile_options(standin_core_test PRIVATE -Wall -Wextra)
target_link_libraries(standin_core_test PRIVATE standin_core_host GTest::gtest_main)
gtest_discover_tests(standin_core_test PROPERTIES TIMEOUT 30 LABELS unit)
