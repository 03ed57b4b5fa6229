# Cross-compiles for 32-bit Windows with Debian's clang, against the mingw-w64 headers and the
# C++ library of Debian's mingw-w64 GCC (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_triple i686-w64-mingw32)

set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${mingw_triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${mingw_triple})
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

file(GLOB mingw_gcc_dirs /usr/lib/gcc/${mingw_triple}/*-posix)
list(GET mingw_gcc_dirs 0 mingw_gcc_dir)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${mingw_gcc_dir}/include/c++ -isystem ${mingw_gcc_dir}/include/c++/${mingw_triple}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${mingw_gcc_dir} -pthread")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-L${mingw_gcc_dir} -pthread")
set(CMAKE_CXX_STANDARD_LIBRARIES "-Wl,--start-group -lstdc++ -lgcc -lgcc_eh -lpthread -Wl,--end-group")

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
