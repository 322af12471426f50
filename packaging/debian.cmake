# `make package`: a Debian package of everything `cmake --install` lays out.
# Library dependencies are read off the programs (dpkg-shlibdeps); the rest
# are what the programs load at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morva)
set(CPACK_PACKAGE_VENDOR "Morva")
set(CPACK_PACKAGE_CONTACT "Morva developers <morva@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer and search tool for Japanese CD-ROM dictionaries")
set(CPACK_PACKAGE_DESCRIPTION
    "Morva reads Japanese electronic dictionaries published on CD-ROM: their indexes, menus,\ncompound forms, full text, external characters, pictures and sound references.\nmorva-cli reads and searches the same books from the terminal.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY morva)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The IPA fonts draw the Japanese text; Qt's translations speak Japanese in its
# own dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
