# The Debian package of the Linux build (cpack -G DEB): what `cmake --install` puts under /usr,
# the licence, changelog and user guide in /usr/share/doc/velmora, the manual pages, and
# dependencies worked out from the binaries by dpkg-shlibdeps, with Qt's translations.
# scripts/package.sh builds it.
set(velmora_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/velmora)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${velmora_doc_dir})

# The changelog and the manual pages are compressed as Debian has them: gzip -9n keeps neither
# name nor date, so the bytes depend only on the text.
find_program(VELMORA_GZIP gzip REQUIRED)
set(velmora_docs ${PROJECT_BINARY_DIR}/docs)
file(MAKE_DIRECTORY ${velmora_docs})
set(velmora_compressed)
function(velmora_compress name)
    add_custom_command(OUTPUT ${velmora_docs}/${name}.gz
                       COMMAND ${VELMORA_GZIP} -9nkf ${name}
                       DEPENDS ${velmora_docs}/${name}
                       WORKING_DIRECTORY ${velmora_docs} VERBATIM)
    set(velmora_compressed ${velmora_compressed} ${velmora_docs}/${name}.gz PARENT_SCOPE)
endfunction()

add_custom_command(OUTPUT ${velmora_docs}/changelog
                   COMMAND ${CMAKE_COMMAND} -E copy
                           ${PROJECT_SOURCE_DIR}/packaging/debian/changelog changelog
                   DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
                   WORKING_DIRECTORY ${velmora_docs} VERBATIM)
velmora_compress(changelog)
install(FILES ${velmora_docs}/changelog.gz DESTINATION ${velmora_doc_dir})

# The window's page is written by hand; velmora-css's is made from its --help and --version by
# help2man (run in a UTF-8 locale, so that the boxes' Chinese names stay; its date is
# SOURCE_DATE_EPOCH's when set).
configure_file(${PROJECT_SOURCE_DIR}/packaging/velmora.1.in ${velmora_docs}/velmora.1 @ONLY)
velmora_compress(velmora.1)
find_program(VELMORA_HELP2MAN help2man)
if(VELMORA_HELP2MAN)
    set(velmora_man_default ON)
else()
    set(velmora_man_default OFF)
endif()
option(VELMORA_CLI_MAN_PAGE "Make velmora-css's manual page (needs help2man)" ${velmora_man_default})
if(VELMORA_CLI_MAN_PAGE AND TARGET velmora-css)
    if(NOT VELMORA_HELP2MAN)
        message(FATAL_ERROR "help2man not found (install it: scripts/install-deps.sh --package)")
    endif()
    set(h2m ${PROJECT_SOURCE_DIR}/packaging/velmora-css.h2m)
    add_custom_command(OUTPUT ${velmora_docs}/velmora-css.1
                       COMMAND ${VELMORA_HELP2MAN} --locale=C.UTF-8 --no-info --section=1
                               --include=${h2m} --output=velmora-css.1
                               $<TARGET_FILE:velmora-css>
                       DEPENDS velmora-css ${h2m}
                       WORKING_DIRECTORY ${velmora_docs} VERBATIM)
    velmora_compress(velmora-css.1)
endif()
# The programs installed (and stripped) above keep the compiler's version in a .comment
# section, which no one needs at run time.
find_program(VELMORA_OBJCOPY objcopy)
if(VELMORA_OBJCOPY)
    foreach(program velmora velmora-css)
        if(TARGET ${program})
            install(CODE "execute_process(COMMAND ${VELMORA_OBJCOPY} --remove-section=.comment
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                COMMAND_ERROR_IS_FATAL ANY)")
        endif()
    endforeach()
endif()

add_custom_target(velmora_docs ALL DEPENDS ${velmora_compressed})
list(REMOVE_ITEM velmora_compressed ${velmora_docs}/changelog.gz)
install(FILES ${velmora_compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

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
# Debian shows the description as it stands: lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora writes the style sheet for the navigation bar of a Taobao shop page\n"
    "from colours and image addresses typed into a window, and puts it on the\n"
    "clipboard. velmora-css writes the same from the command line.")
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
