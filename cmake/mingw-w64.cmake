# Cross-building the game for 64-bit Windows with MinGW-w64:
#   scripts/build-win-deps build-win
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The libraries SDL, SDL_mixer, libogg and libvorbis are looked up in VORLAXIS_WIN_DEPS
# (build-win/deps by default, where scripts/build-win-deps puts them), everything else in
# MinGW's own folder; no Linux library or header is ever taken.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORLAXIS_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VORLAXIS_MINGW_HOST}-gcc)
set(CMAKE_CXX_COMPILER ${VORLAXIS_MINGW_HOST}-g++)
set(CMAKE_RC_COMPILER ${VORLAXIS_MINGW_HOST}-windres)

if(NOT VORLAXIS_WIN_DEPS)
  set(VORLAXIS_WIN_DEPS "${CMAKE_BINARY_DIR}/deps" CACHE PATH
      "Windows builds of SDL, SDL_mixer, libogg and libvorbis (scripts/build-win-deps)")
endif()
# Compiler checks read this file again in scratch projects of their own, whose binary folder
# is elsewhere: hand them the same folder.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VORLAXIS_WIN_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${VORLAXIS_MINGW_HOST} ${VORLAXIS_WIN_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the Windows libraries' files, with the paths they were installed with.
set(ENV{PKG_CONFIG_LIBDIR} "${VORLAXIS_WIN_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
