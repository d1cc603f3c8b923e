# 32-bit Linux build of the portable code (g++ -m32, multilib): the core suites
# with 32-bit size_t and pointers, as the shipped program has them. This
# machine's kernel executes no 32-bit code; the lab's qemu-i386 runs them.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/lab32/qemu-i386)
