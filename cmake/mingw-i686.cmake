set(NUV_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Off Windows, 32-bit test programs run under the Wine of a Debian 13 root, in
# a 64-bit prefix of their own: scripts/x86-exec enters the root,
# scripts/wine-exec runs them there.
if(NOT CMAKE_HOST_WIN32)
  set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../scripts/x86-exec ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)
endif()
