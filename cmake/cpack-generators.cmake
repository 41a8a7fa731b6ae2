# Read by cpack once per generator: the settings each kind of package needs of its own.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
elseif(CPACK_GENERATOR STREQUAL "NSIS")
    # Program Files\VELK-Pro with a Start-menu entry and an uninstaller; 64-bit, so that it runs
    # where there is no 32-bit Windows layer.
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-win64")
    set(CPACK_PACKAGE_INSTALL_DIRECTORY "VELK-Pro")
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "VELK-Pro")
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    set(CPACK_NSIS_DISPLAY_NAME "VELK-Pro")
    set(CPACK_NSIS_PACKAGE_NAME "VELK-Pro ${CPACK_PACKAGE_VERSION}")
    set(CPACK_PACKAGE_EXECUTABLES "velk-pro;VELK-Pro")
    # One backslash: NSIS has no escapes of its own with it, so a doubled one stays doubled.
    set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\velk-pro.exe")
    set(CPACK_NSIS_MUI_ICON "${CPACK_VELK_SOURCE_DIR}/resources/icons/velk-pro.ico")
    set(CPACK_NSIS_MUI_UNIICON "${CPACK_VELK_SOURCE_DIR}/resources/icons/velk-pro.ico")
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    # No licence of the project's own has been chosen yet; the licence page shows the notices
    # of the libraries that come with it (packaging/windows-installer.nsh words it so).
    set(CPACK_RESOURCE_FILE_LICENSE "${CPACK_VELK_NOTICES}")
    # The rest is NSIS code of the project's own, hooked in where CPack's script allows.
    set(CPACK_NSIS_DEFINES "!define VELK_VERSION ${CPACK_PACKAGE_VERSION}
!define VELK_VERSION4 ${CPACK_PACKAGE_VERSION}.0
!include \"${CPACK_VELK_SOURCE_DIR}/packaging/windows-installer.nsh\"")
    set(CPACK_NSIS_PAGE_COMPONENTS "!insertmacro VelkPages")
    set(CPACK_NSIS_INSTALLER_MUI_COMPONENTS_DESC "!insertmacro VelkComponentDescriptions")
    set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!insertmacro VelkAfterInstall")
    set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "!insertmacro VelkBeforeUninstall")
    set(CPACK_NSIS_CREATE_ICONS_EXTRA "!insertmacro VelkCreateIcons")
    set(CPACK_NSIS_DELETE_ICONS_EXTRA "!insertmacro VelkDeleteIcons")
    # makensis builds 32-bit installers unless told otherwise.
    set(CPACK_NSIS_EXECUTABLE "${CPACK_VELK_SOURCE_DIR}/scripts/makensis-win64")
endif()
