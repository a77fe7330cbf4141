# 64-bit Windows build with mingw-w64 (posix threads, so std::mutex exists for GoogleTest).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
# Test programs run under Wine; Debian installs the 64-bit loader here.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
