# Installing and packaging. The program keeps every file in its own folder
# (it finds them beside its executable), so it is installed as one folder,
# <prefix>/lib/lotwise, with a relative link to it in <prefix>/bin: the
# folder can then move with its prefix, and a per-user prefix such as
# ~/.local gives a folder the user can write into.

set(LOTWISE_INSTALL_DIR lib/lotwise)

install(TARGETS lotwise RUNTIME DESTINATION ${LOTWISE_INSTALL_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/words.wdb ${PROJECT_SOURCE_DIR}/data/dictionary.wdb
        DESTINATION ${LOTWISE_INSTALL_DIR})

# The link is made in the build tree and installed as a link (file(INSTALL)
# copies links as links), so that DESTDIR and CPack staging need nothing
# special.
set(lotwise_link_dir ${PROJECT_BINARY_DIR}/install-link)
file(MAKE_DIRECTORY ${lotwise_link_dir})
file(CREATE_LINK ../${LOTWISE_INSTALL_DIR}/lotwise ${lotwise_link_dir}/lotwise SYMBOLIC)
install(FILES ${lotwise_link_dir}/lotwise DESTINATION bin)

install(FILES ${PROJECT_SOURCE_DIR}/src/app/lotwise.desktop DESTINATION share/applications)
foreach(size 16 32 48 256)
  install(FILES ${PROJECT_SOURCE_DIR}/src/app/icons/lotwise-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME lotwise.png)
endforeach()

# The Debian package: the same layout under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lotwise)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Hollow Oak Works")
set(CPACK_PACKAGE_CONTACT "Lotwise developers <lotwise@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "divination by random binary patterns")
# The summary is the package's first description line, this text the rest.
set(CPACK_PACKAGE_DESCRIPTION "Lotwise draws a random 4 x 4 grid of bits, reads each of its columns as a
word, lists eight word pairs made from the columns and shows the meaning of
each pair from its dictionary.

The program keeps its files in its own folder, /usr/lib/lotwise: installed
from this package, it suits a shared read-only use. Install it under a folder
of your own to keep the meanings page and your edits.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/lotwise")
# dpkg-shlibdeps derives the Qt and C++ runtime packages from the executable.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A font that stands in for the design's Times New Roman and Courier New.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)
