# Cross-building the Windows programs on Debian with mingw-w64 (package g++-mingw-w64-x86-64-posix:
# the posix threading model, which std::thread and std::mutex need):
#   cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QSRN_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QSRN_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QSRN_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QSRN_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QSRN_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs that run with no DLL beside them: the C and C++ runtimes and winpthread linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Wide Win32 calls everywhere; UTF-8 inside the program.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
