# What `cmake --install` puts under a prefix, and the Debian package made of it (scripts/package):
#   bin/slpayprn                         the program (finds its libraries relative to itself)
#   LIBDIR/libSl_PAYPRN.so.1             the component, the C interface alone, with its .so link
#   LIBDIR/sl-payprn/                    the component's private library, never on the library path
#   include/slpayprn.h                   the C interface
#   LIBDIR/pkgconfig/slpayprn.pc         for pkg-config hosts
#   LIBDIR/cmake/Sl_PAYPRN/              for CMake hosts: find_package(Sl_PAYPRN 1), Sl_PAYPRN::Sl_PAYPRN
#   share/man/man1/slpayprn.1, share/applications, share/icons, share/doc/sl-payprn
include(CMakePackageConfigHelpers)

# Installing (and packaging) builds nothing by itself: scripts/package builds what is installed, and
# the tests need not be built for it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(SLP_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Sl_PAYPRN)
set(SLP_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/sl-payprn)

install(TARGETS slpayprn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS Sl_PAYPRN EXPORT Sl_PAYPRNTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# The private library goes in the export set only because the component links it; hosts never use it.
install(TARGETS slp_private EXPORT Sl_PAYPRNTargets LIBRARY DESTINATION ${SLP_PRIVATE_LIBDIR} NAMELINK_SKIP)
install(FILES ${CMAKE_SOURCE_DIR}/include/slpayprn.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# pkg-config: the prefix is found from the .pc file's own place, so a prefix given at install time
# (cmake --install build --prefix P) works as well as the configured one.
file(RELATIVE_PATH SLP_PC_TO_PREFIX /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
string(REGEX REPLACE "/$" "" SLP_PC_TO_PREFIX "${SLP_PC_TO_PREFIX}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/package/slpayprn.pc.in ${CMAKE_BINARY_DIR}/package/slpayprn.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/package/slpayprn.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# CMake: the imported target Sl_PAYPRN::Sl_PAYPRN and a version file (same major version).
install(EXPORT Sl_PAYPRNTargets NAMESPACE Sl_PAYPRN:: DESTINATION ${SLP_CMAKE_DIR})
configure_file(${CMAKE_SOURCE_DIR}/cmake/package/Sl_PAYPRNConfig.cmake.in
  ${CMAKE_BINARY_DIR}/package/Sl_PAYPRNConfig.cmake @ONLY)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/Sl_PAYPRNConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/Sl_PAYPRNConfig.cmake
  ${CMAKE_BINARY_DIR}/package/Sl_PAYPRNConfigVersion.cmake DESTINATION ${SLP_CMAKE_DIR})

# The man page, the demo host's desktop entry and icon, the README.
install(FILES ${SLP_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/apps/slpayprn/sl-payprn.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/apps/slpayprn/sl-payprn.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/cmake/package/copyright DESTINATION ${SLP_DOC_DIR})
# The changelog a Debian package carries, compressed as Debian wants it (gzip -9, no name or time).
configure_file(${CMAKE_SOURCE_DIR}/cmake/package/changelog.in ${CMAKE_BINARY_DIR}/package/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/package/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/package/changelog VERBATIM)
add_custom_target(slpayprn_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/package/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/package/changelog.gz DESTINATION ${SLP_DOC_DIR})

# The Debian package: the files above under /usr. Depends: what dpkg-shlibdeps finds in the binaries,
# and what the program loads at run time without linking it: the faces it prints with (宋体, 黑体 and
# 隶书's stand-ins), the Qt SQL drivers, the platform plugins and Qt's Chinese translations.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sl-payprn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "朔岚软件")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wage printing component of the payroll host")
set(CPACK_PACKAGE_DESCRIPTION "Sl_PAYPRN previews and prints a month's wage table and wage slips, prints each
department's payment table and a department summary, prints onto pre-printed
forms and writes the salary files of five banks' payroll-card systems. It is
a shared library with a C interface (libSl_PAYPRN.so.1, slpayprn.h) for the
payroll host, and the command line and demo host slpayprn.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Sl_PAYPRN developers <sl-payprn@example.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS $<TARGET_FILE_DIR:slp_private>)
# Beside the libraries dpkg-shlibdeps finds (Qt, SQLite, OpenSSL, libcurl, ...): the fonts, Qt's plugins and
# translations, and the authorities libcurl checks a mail server's certificate against.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming, fonts-wqy-zenhei, fonts-arphic-ukai, libqt6sql6-sqlite, libqt6sql6-psql, qt6-qpa-plugins, qt6-translations-l10n, ca-certificates, libssl3, libcurl4")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/package/triggers)
set(CPACK_STRIP_FILES ON)
include(CPack)
