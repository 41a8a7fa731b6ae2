# Windows: every program lands in one folder with the DLLs and plugins it loads, laid out as
# windeployqt would, so the build folder runs as it is and the installer copies the same set.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# The icon Explorer and the taskbar show, and the version in the file's properties; with
# MESSAGES, the message table compiled from that .mc file, which makes the program the message
# file of an event source.
function(velk_windows_resources program description)
    cmake_parse_arguments(PARSE_ARGV 2 _arg "" "MESSAGES" "")
    if(NOT TARGET ${program})
        return()
    endif()
    set(VELK_RC_PROGRAM ${program})
    set(VELK_RC_DESCRIPTION ${description})
    set(VELK_RC_EXTRA "")
    set(_rc ${PROJECT_BINARY_DIR}/resources/${program}.rc)
    if(_arg_MESSAGES)
        set(_dir ${PROJECT_BINARY_DIR}/resources/${program}-messages)
        add_custom_command(OUTPUT ${_dir}/MSG00409.bin
            COMMAND ${CMAKE_COMMAND} -E make_directory ${_dir}
            COMMAND x86_64-w64-mingw32-windmc -h ${_dir} -r ${_dir} ${_arg_MESSAGES}
            DEPENDS ${_arg_MESSAGES} VERBATIM)
        set(VELK_RC_EXTRA "LANGUAGE 0x9, 0x1\n1 MESSAGETABLE \"${_dir}/MSG00409.bin\"")
        add_custom_target(${program}-messages DEPENDS ${_dir}/MSG00409.bin)
        add_dependencies(${program} ${program}-messages)
        set_source_files_properties(${_rc} TARGET_DIRECTORY ${program}
                                    PROPERTIES OBJECT_DEPENDS ${_dir}/MSG00409.bin)
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/resources/program.rc.in ${_rc} @ONLY)
    target_sources(${program} PRIVATE ${_rc})
endfunction()

set(_qt_dlls Core Gui Widgets SerialPort Test)
# Test is left out of the installer; the programs never load it.
set(_qt_installed_dlls Core Gui Widgets SerialPort)
# Network lines, when the cross Qt has its network module.
if(TARGET Qt6::Network)
    list(APPEND _qt_dlls Network)
    list(APPEND _qt_installed_dlls Network)
endif()
# The platform plugin, icons and the native style. The pictures come ready rendered, so no SVG.
set(_qt_plugins platforms/qwindows imageformats/qico styles/qwindowsvistastyle)
# What QtTest programs need to run without a display.
set(_qt_test_plugins platforms/qoffscreen platforms/qminimal)
set(_runtime_dlls libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)

# libmosquitto and the OpenSSL it speaks TLS with, as scripts/windows-mqtt puts them into the
# cross Qt's prefix.
find_package(OpenSSL 3 REQUIRED)
find_path(VELK_MOSQUITTO_INCLUDE_DIR mosquitto.h REQUIRED)
find_library(VELK_MOSQUITTO_LIBRARY NAMES mosquitto REQUIRED)
add_library(velk_mosquitto INTERFACE)
target_include_directories(velk_mosquitto INTERFACE ${VELK_MOSQUITTO_INCLUDE_DIR})
target_link_libraries(velk_mosquitto INTERFACE ${VELK_MOSQUITTO_LIBRARY})
set(VELK_MOSQUITTO velk_mosquitto)
set(_mqtt_dlls "")
foreach(_dll libmosquitto.dll libssl-3-x64.dll libcrypto-3-x64.dll)
    find_file(_found_${_dll} ${_dll} PATH_SUFFIXES bin REQUIRED)
    list(APPEND _mqtt_dlls ${_found_${_dll}})
endforeach()

get_target_property(_qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(_qt_bin ${_qt_core_dll} DIRECTORY)
set(_qt_plugin_dir ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})

set(_runtime_paths "")
foreach(_dll ${_runtime_dlls})
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_dll}
                    OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(_path ${_path} REALPATH)
    if(NOT EXISTS ${_path})
        message(FATAL_ERROR "The compiler's runtime ${_dll} was not found")
    endif()
    list(APPEND _runtime_paths ${_path})
endforeach()

set(_deployed "")
set(_copies "")
foreach(_name ${_qt_dlls})
    list(APPEND _copies COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_qt_bin}/Qt6${_name}.dll
         ${CMAKE_BINARY_DIR}/bin/)
endforeach()
foreach(_path ${_runtime_paths} ${_mqtt_dlls})
    list(APPEND _copies COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_path} ${CMAKE_BINARY_DIR}/bin/)
endforeach()
foreach(_plugin ${_qt_plugins} ${_qt_test_plugins})
    get_filename_component(_kind ${_plugin} DIRECTORY)
    list(APPEND _copies
         COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/${_kind}
         COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_qt_plugin_dir}/${_plugin}.dll
                 ${CMAKE_BINARY_DIR}/bin/${_kind}/)
endforeach()
add_custom_target(velk_deploy ALL ${_copies}
                  COMMENT "Deploying the Qt, MinGW, mosquitto and OpenSSL DLLs beside the programs")

# The same files for the installer, beside velk-pro.exe, without their debug sections (the
# compiler's runtime carries them: libstdc++-6.dll is 23 MB with them, 2 MB without). The
# programs themselves are stripped by CPack.
include(GNUInstallDirs)
set(_stripped_dir ${CMAKE_BINARY_DIR}/stripped)
set(_stripped "")
function(velk_install_stripped source destination)
    get_filename_component(_name ${source} NAME)
    set(_out ${_stripped_dir}/${destination}/${_name})
    add_custom_command(OUTPUT ${_out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_stripped_dir}/${destination}
        COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${_out} ${source}
        DEPENDS ${source} VERBATIM)
    set(_stripped ${_stripped} ${_out} PARENT_SCOPE)
    install(FILES ${_out} DESTINATION ${destination})
endfunction()
foreach(_name ${_qt_installed_dlls})
    velk_install_stripped(${_qt_bin}/Qt6${_name}.dll ${CMAKE_INSTALL_BINDIR})
endforeach()
foreach(_path ${_runtime_paths} ${_mqtt_dlls})
    velk_install_stripped(${_path} ${CMAKE_INSTALL_BINDIR})
endforeach()
foreach(_plugin ${_qt_plugins})
    get_filename_component(_kind ${_plugin} DIRECTORY)
    velk_install_stripped(${_qt_plugin_dir}/${_plugin}.dll ${CMAKE_INSTALL_BINDIR}/${_kind})
endforeach()
add_custom_target(velk_stripped_dlls ALL DEPENDS ${_stripped})

# The host's rcc compresses with zstd, which the cross-built QtCore cannot read back.
set(CMAKE_AUTORCC_OPTIONS --no-zstd)

# The notices of the libraries shipped beside the programs, with the licences' full texts from
# Debian's common-licenses, in Windows line ends: beside the programs, and on the installer's
# licence page (cmake/cpack-generators.cmake).
set(_notices_text "")
file(READ ${PROJECT_SOURCE_DIR}/packaging/THIRD-PARTY-NOTICES.txt.in _notices_text)
foreach(_licence LGPL-3 GPL-3 Apache-2.0)
    file(READ /usr/share/common-licenses/${_licence} _licence_text)
    string(APPEND _notices_text
           "\n------------------------------------------------------------------------\n"
           "${_licence} (/usr/share/common-licenses/${_licence} of Debian)\n"
           "------------------------------------------------------------------------\n\n"
           "${_licence_text}")
endforeach()
string(REPLACE "\r\n" "\n" _notices_text "${_notices_text}")
string(REPLACE "\n" "\r\n" _notices_text "${_notices_text}")
set(VELK_NOTICES ${CMAKE_BINARY_DIR}/THIRD-PARTY-NOTICES.txt)
file(WRITE ${VELK_NOTICES} "${_notices_text}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/packaging/THIRD-PARTY-NOTICES.txt.in)
install(FILES ${VELK_NOTICES} DESTINATION ${CMAKE_INSTALL_BINDIR})
