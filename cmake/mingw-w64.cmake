# Cross build for the server's own platform (64-bit Windows) with Debian's
# mingw-w64 packages (g++-mingw-w64-x86-64, mingw-w64-tools,
# libz-mingw-w64-dev):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCORVANE_TESTS=OFF
# The programs link the C++ runtime, winpthread and zlib statically, so
# corvane.exe, skarrow.exe, unzip32.dll and corvane.ini are the whole install.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(corvane_mingw x86_64-w64-mingw32)
# The posix flavour of the compiler carries the complete C++ thread library.
set(CMAKE_C_COMPILER ${corvane_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${corvane_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${corvane_mingw}-windres)
# GCC 12 warns falsely about std::string concatenation when optimising
# (its bug 105329); the native build has the same compiler and no such noise
# at its default level.
# GCC may spill 32- and 64-byte vector registers with aligned moves to a stack
# that the Windows convention aligns to 16 bytes only (its bug 54412); the
# assembler turns those moves into unaligned ones.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict -Wa,-muse-unaligned-vector-move")

set(CMAKE_FIND_ROOT_PATH /usr/${corvane_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static archives only: no zlib1.dll or runtime DLL has to travel along.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
