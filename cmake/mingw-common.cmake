# Shared by both mingw toolchains: the -posix compilers give std::thread and
# std::mutex; static linking means the exe needs no mingw DLLs beside it.
set(CMAKE_C_COMPILER ${TARNU_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNU_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNU_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TARNU_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
