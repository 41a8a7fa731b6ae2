# Debian's hardening flags, from dpkg-buildflags as a Debian package build would get them:
# fortified C library calls, the stack protector, format checks, and relocations resolved and made
# read-only at start (-z now). Optimised builds only: fortifying needs the optimiser, and the
# sanitizer build has checks of its own.
find_program(VELK_DPKG_BUILDFLAGS dpkg-buildflags)
if(VELK_DPKG_BUILDFLAGS AND NOT VELK_SANITIZE
   AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
    foreach(_kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                                ${VELK_DPKG_BUILDFLAGS} --get ${_kind}
                        OUTPUT_VARIABLE _flags OUTPUT_STRIP_TRAILING_WHITESPACE)
        separate_arguments(_flags UNIX_COMMAND "${_flags}")
        # The build type chooses optimisation and debug information; paths stay as they are.
        list(FILTER _flags EXCLUDE REGEX "^-(O[0-9gsz]?|g|ffile-prefix-map=.*)$")
        if(_kind STREQUAL "LDFLAGS")
            add_link_options(${_flags})
        else()
            add_compile_options(${_flags})
        endif()
    endforeach()
endif()
