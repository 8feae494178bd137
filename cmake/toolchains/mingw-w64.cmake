# Cross build for 64-bit Windows with Debian's MinGW-w64 (the POSIX-thread compiler: the win32-thread
# one has no std::mutex or std::thread). Test programs run through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without Qt every program carries its C++ runtime: Wine (or a Windows machine) has no MinGW DLLs on
# its path. Chain-loaded by Qt's toolchain (QT_CHAINLOAD_TOOLCHAIN_FILE), the programs share the
# MinGW runtime DLLs that Qt's DLLs use: one C++ runtime in the process, laid out beside the program.
if(NOT QT_CHAINLOAD_TOOLCHAIN_FILE)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()

find_program(TALLOWBY_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TALLOWBY_WINE})
