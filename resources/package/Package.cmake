# The Debian package: cmake --build <build> --target package gives quarnel_<version>_<arch>.deb,
# its dependencies worked out from the binaries by dpkg-shlibdeps (package dpkg-dev).

# The addresses and the year of the copyright are the About box's.
function(quarnel_source_string file name out)
    file(READ ${file} text)
    if(NOT text MATCHES "${name} = \"?([^\";]*)\"?;")
        message(FATAL_ERROR "${name} not found in ${file}")
    endif()
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
endfunction()
quarnel_source_string(${PROJECT_SOURCE_DIR}/UQuarnelApps/UQuarnelApps.h EMailAddress QUARNEL_EMAIL)
quarnel_source_string(${PROJECT_SOURCE_DIR}/UQuarnelApps/UQuarnelApps.h WebAddress QUARNEL_WEB)
quarnel_source_string(${PROJECT_SOURCE_DIR}/UFormMain/MainController.h AboutFirstYear
    QUARNEL_FIRST_YEAR)
# The window's title names the version the package and the manual pages carry.
quarnel_source_string(${PROJECT_SOURCE_DIR}/UFormMain/WindowLayout.h FormCaption caption)
if(NOT caption STREQUAL "${PROJECT_NAME} ${PROJECT_VERSION}")
    message(FATAL_ERROR "The window's title \"${caption}\" does not name version ${PROJECT_VERSION}")
endif()
set(QUARNEL_MAINTAINER "The Quarnel developers <${QUARNEL_EMAIL}>")
# The changelog's date follows SOURCE_DATE_EPOCH when it is set, for a reproducible package.
string(TIMESTAMP QUARNEL_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

include(GNUInstallDirs)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/quarnel)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${PROJECT_BINARY_DIR}/package/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${PROJECT_BINARY_DIR}/package/changelog @ONLY)
execute_process(COMMAND gzip -9nc ${PROJECT_BINARY_DIR}/package/changelog
    OUTPUT_FILE ${PROJECT_BINARY_DIR}/package/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_BINARY_DIR}/package/copyright ${PROJECT_BINARY_DIR}/package/changelog.gz
    DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarnel)
set(CPACK_PACKAGE_VENDOR "The Quarnel developers")
set(CPACK_PACKAGE_CONTACT "${QUARNEL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "access keys for the captions of menus and dialogs")
set(CPACK_PACKAGE_DESCRIPTION "\
Quarnel gives every caption of a menu or dialog an access key: it inserts the
marker & before one character of each caption so that no two captions of one
scope share a key. The window processes caption lists. The batch tool
quarnel-cli checks and mends the keys of caption lists, Windows resource
scripts, Qt Designer forms and Qt Linguist translations in build and
translation pipelines.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUARNEL_WEB}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
