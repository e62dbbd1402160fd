# Cross toolchain for the 64-bit Windows build (Debian's g++-mingw-w64-x86-64), which the tests
# run under Wine where the kernel runs no 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw.cmake")
