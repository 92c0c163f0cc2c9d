set(CMAKE_C_COMPILER ${GH_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GH_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GH_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${GH_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(GH_OBJDUMP ${GH_TRIPLE}-objdump)
set(GH_DLLTOOL ${GH_TRIPLE}-dlltool)
set(GH_WIDL ${GH_TRIPLE}-widl)
# Tests run under Wine, with one prefix per build tree; tools/wine-run.sh
# picks the loader of the target (32-bit Wine for i686).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
