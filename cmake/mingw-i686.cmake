# Cross build for i686 Windows with MinGW-w64: the release build of the programs.
# Win32 threads, not the posix model: its threads library imports kernel32
# functions that Windows 95 to XP lack (GetTickCount64 among them), so programs
# built with it would not even start there. The programs use no std::mutex or
# std::thread; the tests, which need them for GoogleTest, run the x86_64 build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER  i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
