# Installation as a desktop application and the Debian package made from it.
include(GNUInstallDirs)

if(TARGET velk-pro)
    install(TARGETS velk-pro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# The menu entry and the icon theme belong to a Linux desktop; Windows gets a Start-menu entry
# from the installer instead.
if(NOT WIN32)
install(FILES packaging/velk-pro.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 64 128 256)
    set(_icon ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/velk-pro-${size}.png)
    if(EXISTS ${_icon})
        install(FILES ${_icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME velk-pro.png)
    endif()
endforeach()
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/velk-pro.svg)
    install(FILES resources/icons/velk-pro.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
endif()

set(CPACK_PACKAGE_NAME velk-pro)
set(CPACK_PACKAGE_VENDOR "VELK-Pro team")
set(CPACK_PACKAGE_CONTACT "VELK-Pro team <velk-pro@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Sends title text and the date and time to clock and title display devices on a serial line, and keeps them in step with the PC clock.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# What differs between the .deb and the Windows installer is set per generator at packaging time.
set(CPACK_VELK_SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/cmake/cpack-generators.cmake)
include(CPack)
