# The Debian package, built from a configured tree with
#   cpack --config BUILD/CPackConfig.cmake -G DEB
# (scripts/pacote does it in a build of its own). It holds what
# `cmake --install` puts under /usr, stripped, plus the Debian copyright and
# changelog; its Depends come from the binary through dpkg-shlibdeps.

set(QUARVEL_MANTENEDOR "Os desenvolvedores do Quarvel <quarvel@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

# Debian wants 0755 directories whatever the umask of the machine that
# builds the package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# A native package (version without a Debian revision) keeps its changelog
# as changelog.gz. Both gzip files are written without name nor time stamp
# (-n), so that two builds of one version give the same bytes.
set(QUARVEL_PASTA_DOC ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${PROJECT_BINARY_DIR}/pacote/changelog @ONLY)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/pacote/changelog.gz
  COMMAND sh -c "gzip -9n -c changelog > changelog.gz"
  DEPENDS ${PROJECT_BINARY_DIR}/pacote/changelog
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/pacote
  VERBATIM)
add_custom_target(pacote_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/pacote/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/pacote/changelog.gz DESTINATION ${QUARVEL_PASTA_DOC})
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright DESTINATION ${QUARVEL_PASTA_DOC})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "Os desenvolvedores do Quarvel")
set(CPACK_PACKAGE_CONTACT ${QUARVEL_MANTENEDOR})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tape calculator for counting money in Brazilian reais")
set(CPACK_PACKAGE_DESCRIPTION
    "Quarvel totals series of money amounts, such as the contents of a bag of
cash and documents being counted. Each amount in reais, or an arithmetic
expression that yields it, becomes a numbered line of a tape; the total is
shown in figures and in Portuguese words. Tapes are saved as calculation
files (.qvl), imported from and exported to text files, printed with a
header and a footer, and backed up automatically.

The command line prints a tape and its total (quarvel --total) or a PDF of
it (quarvel --pdf) without a display. The interface is in Brazilian
Portuguese.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUARVEL_MANTENEDOR})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's faces are paired with Liberation, and Qt's own buttons speak
# Portuguese with its translations; without either the program still runs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
