# The Debian packages: `cpack -G DEB` in a build directory writes one package
# per install component, named <package>_<version>_<arch>.deb:
#   abrivo         the window, abrivo-cli, the desktop entry, the icons and
#                  the manual page (component "programs");
#   libabrivo1     the shared library libabrivo.so.1 (component "library");
#   libabrivo-dev  the public header, the CMake package, the pkg-config file
#                  and the libabrivo.so link (component "development").
# The programs link the engine statically and need no libabrivo1. A further
# package is one more component in CPACK_COMPONENTS_ALL with a name below.
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

set(CPACK_DEB_COMPONENT_INSTALL ON)
list(APPEND CPACK_COMPONENTS_ALL programs library development)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME abrivo)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libabrivo${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libabrivo-dev)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# Each package's description: the summary line is the project's
# DESCRIPTION, then the text below.
set(CPACK_DEBIAN_PROGRAMS_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(library_text
"libabrivo gives a C++ program the same summaries in one call of
abrivo::summarise on UTF-8 text, with the keywords, the term and sentence
tables, progress reports and cancellation.")
set(CPACK_DEBIAN_LIBRARY_DESCRIPTION "${library_text}

The package holds the shared library libabrivo.so.1.")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "${library_text}

The package holds what building against it needs: the header
<abrivo/abrivo.h>, the CMake package Abrivo (target Abrivo::abrivo) and the
pkg-config file abrivo.pc.")
# The development files need the library of exactly their version.
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS library)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The library package gets a shlibs file and an ldconfig trigger, so that
# packages built against it depend on libabrivo1 of at least this version.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps turns the libraries the programs link into Depends.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# python3-abrivo: the Python module (component "python3-abrivo", python/),
# when it is built.
if(TARGET abrivo_python)
  list(APPEND CPACK_COMPONENTS_ALL python3-abrivo)
  set(CPACK_DEBIAN_PYTHON3-ABRIVO_PACKAGE_NAME python3-abrivo)
  set(CPACK_DEBIAN_PYTHON3-ABRIVO_PACKAGE_SECTION python)
  set(CPACK_DEBIAN_PYTHON3-ABRIVO_DESCRIPTION
"This package holds the Python 3 module abrivo, which summarises with the
engine of Abrivo: abrivo.summarise for one article, abrivo.summarise_many
for a stream of records on worker threads. It releases the GIL while the
engine runs.")
  # The module is built for one version of the interpreter; dpkg-shlibdeps
  # adds the C and C++ libraries.
  math(EXPR next_minor "${Python_VERSION_MINOR} + 1")
  set(CPACK_DEBIAN_PYTHON3-ABRIVO_PACKAGE_DEPENDS
    "python3 (>= ${Python_VERSION_MAJOR}.${Python_VERSION_MINOR}), python3 (<< ${Python_VERSION_MAJOR}.${next_minor})")
endif()

include(CPack)
