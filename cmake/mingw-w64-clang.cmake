# Cross-compiles the Windows program with clang instead of GCC, against the same mingw-w64
# headers and libraries (GCC's libstdc++ and runtime), for a second compiler's warnings.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${triple})
# The sysroot keeps the host's /usr/include out of the search.
set(CMAKE_SYSROOT /usr/${triple})

# Clang does not find GCC's folder for the posix-thread flavour by itself: ask GCC where it is.
execute_process(COMMAND ${triple}-g++-posix -print-libgcc-file-name
                OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(gcc_dir ${libgcc} DIRECTORY)
set(libstdcxx_include
  "-isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/${triple}"
  "-isystem ${gcc_dir}/include/c++/backward")
list(JOIN libstdcxx_include " " CMAKE_CXX_FLAGS_INIT)
# -pthread puts winpthreads after libgcc_eh, which needs it; -static makes it the static one.
# LLVM's linker, since GNU ld reports every type-name section whose padding differs between
# clang's objects and GCC's libstdc++, a thousand times a build.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -pthread -L${gcc_dir} -fuse-ld=lld")
