# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads) and a cross-built Qt.
# The cross Qt's prefix comes from VELK_WIN_QT (default /opt/velk-win/qt).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

if(NOT VELK_WIN_QT)
    if(DEFINED ENV{VELK_WIN_QT})
        set(VELK_WIN_QT $ENV{VELK_WIN_QT})
    else()
        set(VELK_WIN_QT /opt/velk-win/qt)
    endif()
endif()
set(VELK_WIN_QT ${VELK_WIN_QT} CACHE PATH "Prefix of the cross-built Qt for Windows")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELK_WIN_QT)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple} ${VELK_WIN_QT})
set(CMAKE_PREFIX_PATH ${VELK_WIN_QT})
# Programs (moc, rcc, uic, socat, makensis) come from the host; libraries and headers only from
# the Windows roots.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The Qt tools of the same version run on the host.
set(QT_HOST_PATH /usr CACHE PATH "Host Qt prefix")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Host Qt CMake files")

# The host's pkg-config files describe Linux libraries.
set(ENV{PKG_CONFIG_LIBDIR} "")
set(ENV{PKG_CONFIG_PATH} "")
