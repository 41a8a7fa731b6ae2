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

# Who answers for the package, in this one place: the package's maintainer field, the
# copyright file and the changelog all take it from here.
set(VELK_MAINTAINER_NAME "VELK-Pro maintainers")
set(VELK_MAINTAINER_EMAIL "maintainers@velk-pro.example")
set(VELK_MAINTAINER "${VELK_MAINTAINER_NAME} <${VELK_MAINTAINER_EMAIL}>")

set(CPACK_PACKAGE_NAME velk-pro)
set(CPACK_PACKAGE_VENDOR "VELK-Pro team")
set(CPACK_PACKAGE_CONTACT "${VELK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Lines of at most 80 characters, as Debian descriptions want them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Sends title text and the date and time to clock and title display devices\n"
       "on a serial line, and keeps them in step with the PC clock. Includes\n"
       "velk-ctl, which does the same from a command line or as the systemd service\n"
       "velk-sync@DEVICE, and velk-monitor, which prints the frames seen on such a\n"
       "line.")

# ---- Debian and other Unix systems: manual pages, copyright, changelog, package fields ----
if(UNIX AND NOT APPLE)
    # Every installed program gets its manual page, written once in docs/man and installed
    # compressed as Debian wants it (gzip -9, no name or time stamp inside).
    function(velk_manual_page program)
        set(_page ${PROJECT_BINARY_DIR}/man/${program}.1)
        configure_file(${PROJECT_SOURCE_DIR}/docs/man/${program}.1 ${_page} @ONLY)
        add_custom_command(OUTPUT ${_page}.gz COMMAND gzip -9nkf ${_page} DEPENDS ${_page}
                           VERBATIM)
        add_custom_target(${program}-manual ALL DEPENDS ${_page}.gz)
        install(FILES ${_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endfunction()
    velk_manual_page(velk-pro)
    velk_manual_page(velk-monitor)
    velk_manual_page(velk-ctl)

    # The minute sync as a service, one instance per serial device, run by its own system
    # account, which the package's maintainer scripts create; and one per network line.
    install(FILES packaging/velk-sync@.service packaging/velk-sync-net@.service
            DESTINATION lib/systemd/system)
    # The MQTT bridge as a service, one instance per serial device, under a user of its own that
    # systemd makes for each run.
    install(FILES packaging/velk-bridge@.service DESTINATION lib/systemd/system)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/packaging/postinst
        ${CMAKE_CURRENT_SOURCE_DIR}/packaging/prerm ${CMAKE_CURRENT_SOURCE_DIR}/packaging/postrm)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    # postinst creates that account; the libraries' packages are added to this by shlibdeps.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser")

    set(_doc ${PROJECT_BINARY_DIR}/doc)
    configure_file(packaging/copyright.in ${_doc}/copyright @ONLY)
    configure_file(packaging/changelog.in ${_doc}/changelog @ONLY)
    add_custom_command(OUTPUT ${_doc}/changelog.gz COMMAND gzip -9nkf ${_doc}/changelog
                       DEPENDS ${_doc}/changelog VERBATIM)
    add_custom_target(velk-changelog ALL DEPENDS ${_doc}/changelog.gz)
    install(FILES ${_doc}/copyright ${_doc}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
    install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
            RENAME ${CPACK_PACKAGE_NAME})

    # Stripping keeps the compiler's notes (.comment, .note), which a Debian package leaves out.
    # The programs' own install rules have run by now.
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            foreach(_program ${CMAKE_INSTALL_BINDIR}/velk-pro ${CMAKE_INSTALL_BINDIR}/velk-ctl
                             ${CMAKE_INSTALL_BINDIR}/velk-monitor
                             ${VELK_PLUGIN_DIR}/velk-network-lines.so
                             ${VELK_PLUGIN_DIR}/velk-bridge.so
                             ${VELK_PLUGIN_DIR}/velk-bus-lines.so)
                set(_file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${_program}\")
                if(EXISTS \"\${_file}\")
                    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                                            --remove-section=.note \"\${_file}\")
                endif()
            endforeach()
        endif()")

    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

set(CPACK_STRIP_FILES ON)
# What differs between the .deb and the Windows installer is set per generator at packaging time.
set(CPACK_VELK_SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
set(CPACK_VELK_NOTICES "${VELK_NOTICES}")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/cmake/cpack-generators.cmake)
include(CPack)
