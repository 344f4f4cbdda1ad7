# The Debian package of the Linux build (cpack -G DEB): what `cmake --install` puts under /usr,
# the licence as /usr/share/doc/velmora/copyright, and dependencies worked out from the
# binaries by dpkg-shlibdeps, with Qt's translations. scripts/package.sh builds it.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmora)

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE velmora_deb_arch
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT velmora_deb_arch)
    set(velmora_deb_arch amd64)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CSS for a Taobao shop's navigation bar")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora writes the style sheet for the navigation bar of a Taobao shop page from colours "
    "and image addresses typed into a window, and puts it on the clipboard. velmora-css writes "
    "the same from the command line.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmora <maintainers@velmora.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${velmora_deb_arch})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own Chinese texts (the system's dialogs, the boxes' edit menu), read at start-up; the
# libraries' dependencies are added to it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
# xz keeps no date in its header, unlike gzip.
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_FILE_NAME "velmora_${PROJECT_VERSION}_${velmora_deb_arch}.deb")
include(CPack)
