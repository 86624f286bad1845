# The Debian package: `cpack -G DEB` in a build directory writes
# abrivo_<version>_<arch>.deb with the window, abrivo-cli, the desktop entry,
# the icons and the manual page under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME abrivo)
set(CPACK_PACKAGE_VENDOR "Abrivo developers")
set(CPACK_PACKAGE_CONTACT "Abrivo developers <abrivo@example.org>")
# The first line of the package's description is the project's DESCRIPTION.
set(CPACK_PACKAGE_DESCRIPTION
"Abrivo picks the best sentences of a news article in Chinese or English and
keeps them in article order within a chosen length of 200 to 500 characters.
It reports the article's keywords and the sizes of article and summary.

The package holds the Qt window, abrivo, and the command-line front end,
abrivo-cli, which summarises files, standard input or JSON Lines batches
with the same engine and reads UTF-8, GBK or GB18030.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps turns the libraries the programs link into Depends.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
