# 32-bit Windows build: the shipped program. This machine's kernel executes no
# 32-bit code, so its tests run under the 32-bit Wine of the lab that
# scripts/lab32/setup makes (an i386 chroot, through qemu-i386).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TARNU_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/lab32/bin/wine)
