# Cross-builds for Windows with Debian's mingw-w64: 64-bit, or 32-bit where
# mingw-w64-i686.cmake says so first. The "posix" compilers are named
# explicitly: the default ones use the win32 thread model, whose standard
# library has no std::mutex or std::thread.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT mingw_target)
    set(mingw_target x86_64-w64-mingw32)
    set(CMAKE_SYSTEM_PROCESSOR x86_64)
endif()

set(CMAKE_C_COMPILER ${mingw_target}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_target}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_target}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_target})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program is static, so it needs no DLL beside it: not the runtime of
# GCC, nor of its standard library, nor winpthreads. Linked without a time
# stamp, so the same sources give the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")

# Nothing newer than Windows 7 may be called directly; later functions are
# looked up while the program runs.
# Each function in a section of its own, so the linker can drop what is
# unused; source paths written relative, so the folder of the checkout
# leaves no trace in the program.
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DUNICODE -D_UNICODE \
-ffunction-sections -fdata-sections -ffile-prefix-map=${CMAKE_CURRENT_LIST_DIR}/..=.")
# windres reads the resource script as UTF-8, or the Russian strings come out garbled.
set(CMAKE_RC_FLAGS_INIT "-c 65001")

# Tests of the Windows programs run under Wine; tests/win32/run.sh
# prepares its prefix and display.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
