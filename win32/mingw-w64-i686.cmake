# The same cross-build for 32-bit Windows, for the PCs that still run it.
set(mingw_target i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
