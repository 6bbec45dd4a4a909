# Installation layout and the Debian package (scripts/package).
include(GNUInstallDirs)

# Man pages are kept as troff in docs/man and compressed at build time, as
# Debian installs them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(man_pages plorix.1 plorix-cli.1)
set(man_outputs)
foreach(page IN LISTS man_pages)
  set(out "${PROJECT_BINARY_DIR}/man/${page}.gz")
  add_custom_command(OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${PROJECT_BINARY_DIR}/man"
    COMMAND ${GZIP_PROGRAM} -9n -c "${PROJECT_SOURCE_DIR}/docs/man/${page}" > "${out}"
    DEPENDS "${PROJECT_SOURCE_DIR}/docs/man/${page}" VERBATIM)
  list(APPEND man_outputs "${out}")
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_outputs})
install(FILES ${man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES "${PROJECT_SOURCE_DIR}/data/completions/plorix-cli.bash"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME plorix-cli)
install(FILES "${PROJECT_SOURCE_DIR}/data/completions/_plorix-cli"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES "${PROJECT_SOURCE_DIR}/data/completions/plorix-cli.fish"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
install(FILES "${PROJECT_SOURCE_DIR}/data/metainfo/org.plorix.Plorix.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY "${PROJECT_SOURCE_DIR}/docs/help/" DESTINATION ${CMAKE_INSTALL_DATADIR}/plorix/help)
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/plorix RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plorix)
set(CPACK_PACKAGE_VERSION "${PLORIX_VERSION_TEXT}")
set(CPACK_PACKAGE_VENDOR "The Plorix developers")
set(CPACK_PACKAGE_CONTACT "The Plorix developers <plorix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop scheduler: reminders, scheduled programs and automation scripts")
set(CPACK_PACKAGE_DESCRIPTION
    "Plorix sits in the tray and watches the clock: it shows reminders, starts programs and runs\n automation scripts, and keeps a small organiser in one encrypted data file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://plorix.invalid/")
# Dependencies from the libraries the programs link, found by dpkg-shlibdeps;
# the Qt platform plugin is loaded at run time and so named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, at-spi2-core")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")
include(CPack)
