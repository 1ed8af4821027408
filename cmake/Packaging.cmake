# The Debian package (cmake --build build --target package): the program with its menu entry,
# icon, description for the software centre, board file type, copyright and changelog, its
# library dependencies computed from the binary by dpkg-shlibdeps.
set(ORIVOX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orivox)
install(FILES resources/copyright DESTINATION ${ORIVOX_DOC_DIR})
# Debian wants its changelog compressed at the highest level and without a timestamp.
set(ORIVOX_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(
  OUTPUT ${ORIVOX_CHANGELOG_GZ}
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/resources/changelog.Debian > ${ORIVOX_CHANGELOG_GZ}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/changelog.Debian
  COMMENT "Compressing the Debian changelog")
add_custom_target(orivox_changelog ALL DEPENDS ${ORIVOX_CHANGELOG_GZ})
install(FILES ${ORIVOX_CHANGELOG_GZ} DESTINATION ${ORIVOX_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orivox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Orivox developers <orivox@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orivox developers <orivox@example.org>")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Speech is optional at run time: the board stays silent without the service.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "speech-dispatcher, speech-dispatcher-espeak-ng, qt6-translations-l10n")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "communication aid driven by a single switch")
# CPack puts the summary on the first line; the rest is the long description.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "Orivox helps a person who can neither speak nor write by ordinary means to\n"
       "build sentences with one switch (any key of the numeric keypad). A carer\n"
       "prepares a board of tabs holding letters, words and whole sentences; a\n"
       "highlight walks over them and a press of the switch chooses what is lit.\n"
       "Boards can be exchanged with other communication aids in the Open Board\n"
       "Format (.obf, .obz). The interface is in French.")
include(CPack)
