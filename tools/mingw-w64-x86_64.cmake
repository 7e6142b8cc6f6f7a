# Cross build for 64-bit Windows with the MinGW-w64 compilers, which pick the
# Windows console backend:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=tools/mingw-w64-x86_64.cmake \
#         -DBLASTOVIA_TESTS=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Programs of the build machine, libraries and headers of the target only.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: the C++ and GCC runtimes linked in, so it runs
# on a machine without the MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
