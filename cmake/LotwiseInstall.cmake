# Installing and packaging. The program and its shipped data files are
# installed as one folder, <prefix>/lib/lotwise, with a relative link to it in
# <prefix>/bin, so that the folder can move with its prefix. The marker file
# lotwise.installed in that folder tells the program that it is an installed
# copy: it then keeps every file it writes in the user's data folder
# ($XDG_DATA_HOME/lotwise) and only takes the shipped data files from its own
# folder. A copied folder without the marker, like the build's bin/, keeps
# everything beside the executable.

set(LOTWISE_INSTALL_DIR lib/lotwise)
set(lotwise_packaging ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS lotwise RUNTIME DESTINATION ${LOTWISE_INSTALL_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/words.wdb ${PROJECT_SOURCE_DIR}/data/dictionary.wdb
              ${lotwise_packaging}/lotwise.installed
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
install(FILES ${lotwise_packaging}/org.example.lotwise.metainfo.xml DESTINATION share/metainfo)

# Debian wants the changelog and the manual page compressed with gzip -9n
# (-n keeps name and time out of the header, so that the same text always
# gives the same bytes). They are made with the program, so that building
# only the lotwise target is enough for cmake --install.
find_program(LOTWISE_GZIP gzip REQUIRED)
set(lotwise_docs_dir ${PROJECT_BINARY_DIR}/packaging)
configure_file(${lotwise_packaging}/lotwise.1.in ${lotwise_docs_dir}/lotwise.1 @ONLY)
add_custom_command(
  OUTPUT ${lotwise_docs_dir}/lotwise.1.gz
  COMMAND ${LOTWISE_GZIP} -9nc ${lotwise_docs_dir}/lotwise.1 > ${lotwise_docs_dir}/lotwise.1.gz
  DEPENDS ${lotwise_docs_dir}/lotwise.1
  VERBATIM)
add_custom_command(
  OUTPUT ${lotwise_docs_dir}/changelog.gz
  COMMAND ${LOTWISE_GZIP} -9nc ${lotwise_packaging}/changelog > ${lotwise_docs_dir}/changelog.gz
  DEPENDS ${lotwise_packaging}/changelog
  VERBATIM)
add_custom_target(lotwise_docs DEPENDS ${lotwise_docs_dir}/lotwise.1.gz ${lotwise_docs_dir}/changelog.gz)
add_dependencies(lotwise lotwise_docs)

install(FILES ${lotwise_docs_dir}/lotwise.1.gz DESTINATION share/man/man1)
install(FILES ${lotwise_packaging}/copyright ${lotwise_docs_dir}/changelog.gz DESTINATION share/doc/lotwise)
install(FILES ${lotwise_packaging}/lintian-overrides DESTINATION share/lintian/overrides RENAME lotwise)

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

Each user gets a data folder of their own, ~/.local/share/lotwise, with
copies of the word list and the dictionary that they may edit; the program
writes nothing under /usr.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/lotwise")
# dpkg-shlibdeps derives the Qt and C++ runtime packages from the executable
# and adds them to these. Qt loads its platform plugins (xcb and the others)
# at run time, so no library link names their package: without it no window
# can open. The Liberation faces have the widths of the design's Times New
# Roman, Courier New and sans serif: without them words are cut off.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
# Wayland desktops without XWayland need Qt's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# Older versions could leave a scratch page behind in /usr/lib/lotwise.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${lotwise_packaging}/prerm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
