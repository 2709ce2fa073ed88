# Cross-build for 64-bit Windows with Clang and lld: the second compiler, against the same
# MinGW-w64 headers and import libraries and the same libstdc++ (GCC 12's, posix threads) as
# mingw-w64-posix.cmake, so the two builds differ in the compiler alone. windres still compiles
# the resources. Test executables run under Wine through tools/wine-env.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELMORA_MINGW_PREFIX x86_64-w64-mingw32)
set(VELMORA_MINGW_GCC_DIR /usr/lib/gcc/${VELMORA_MINGW_PREFIX}/12-posix CACHE PATH
    "GCC's folder for the MinGW-w64 target: libstdc++'s headers, libgcc and libstdc++")

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${VELMORA_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${VELMORA_MINGW_PREFIX})
set(CMAKE_RC_COMPILER ${VELMORA_MINGW_PREFIX}-windres)
# GNU dlltool: llvm-dlltool 14 cannot make the delay-import library of the common controls.
set(CMAKE_DLLTOOL ${VELMORA_MINGW_PREFIX}-dlltool)
# The sysroot keeps the build machine's /usr/include out of the search path, where Clang would
# otherwise put it after the MinGW-w64 headers.
set(CMAKE_SYSROOT /usr/${VELMORA_MINGW_PREFIX})

# Clang finds no libstdc++ in Debian's MinGW layout by itself: name its headers (ahead of
# Clang's own, as libstdc++ needs), and GCC's folder for libstdc++ and libgcc. GNU ld wants the
# static runtime libraries in an order that Clang's driver does not give them; lld resolves them
# in any order, so winpthreads (libstdc++'s threads, which g++-posix links by itself) can be
# named among the flags. lld keeps the import address tables in read-only memory, where the
# helper of the delay-loaded common controls could not write the address it finds (a crash at
# the first call): they go into .data, as GNU ld keeps them (lld then says once per link that
# its own rule for them was overridden).
set(VELMORA_LIBSTDCXX_INCLUDE ${VELMORA_MINGW_GCC_DIR}/include/c++)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${VELMORA_LIBSTDCXX_INCLUDE}
    ${VELMORA_LIBSTDCXX_INCLUDE}/${VELMORA_MINGW_PREFIX})
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -L${VELMORA_MINGW_GCC_DIR} -lpthread -Wl,-Xlink=-merge:.idata=.data")
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-env)
