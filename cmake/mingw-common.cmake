# Shared part of the MinGW-w64 cross toolchains. The including file sets
# NUV_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: GoogleTest needs std::mutex, which the win32 model
# of this compiler generation lacks. Linked statically, it adds no DLL.
find_program(NUV_MINGW_GCC NAMES ${NUV_MINGW_TRIPLET}-gcc-posix ${NUV_MINGW_TRIPLET}-gcc)
find_program(NUV_MINGW_GXX NAMES ${NUV_MINGW_TRIPLET}-g++-posix ${NUV_MINGW_TRIPLET}-g++)
set(CMAKE_C_COMPILER ${NUV_MINGW_GCC})
set(CMAKE_CXX_COMPILER ${NUV_MINGW_GXX})
set(CMAKE_RC_COMPILER ${NUV_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NUV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Stack protection and checked string and memory functions; their runtime
# (libssp) is linked in with the rest.
# Each function in a section of its own, so the linker drops what nothing uses.
set(CMAKE_C_FLAGS_INIT "-fstack-protector-strong -D_FORTIFY_SOURCE=2 -ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-fstack-protector-strong -D_FORTIFY_SOURCE=2 -ffunction-sections -fdata-sections")

# One self-contained file: the C and C++ runtimes are linked in, so neither
# the program nor its tests need a MinGW DLL beside them. The linker's
# defaults already make the file movable (high-entropy on x64) and
# no-execute compatible; scripts/check-pe holds them to it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -fstack-protector-strong -Wl,--gc-sections")

# Off Windows, test programs run under Wine, in the project's private prefix.
if(NOT CMAKE_HOST_WIN32)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)
endif()

# Debian's googletest package ships the sources; the cross builds compile them.
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  set(NUV_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the cross builds")
endif()

# Include folders written out on each command line, not in a response file:
# clang-tidy reads the commands from compile_commands.json.
set(CMAKE_C_USE_RESPONSE_FILE_FOR_INCLUDES OFF)
set(CMAKE_CXX_USE_RESPONSE_FILE_FOR_INCLUDES OFF)
