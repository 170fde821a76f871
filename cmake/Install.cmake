# What `cmake --install` lays out under the prefix, and the Debian package that
# `cpack -G DEB` (in the build folder) makes of it: quorvane_<version>_<arch>.deb, which
# lintian passes (tests/install/package_lintian.sh).
# The definition lists are the user's data, not the program's: an installed program reads them
# from beside the archive or station file it opens.
include(GNUInstallDirs)

set(_data "${PROJECT_SOURCE_DIR}/data")
set(_doc "${CMAKE_INSTALL_DATADIR}/doc/quorvane")

# Debian ships man pages and changelogs compressed, without a time stamp in the gzip header
# (-n), so that the package's bytes do not depend on when it was built.
set(_gzipped_dir "${CMAKE_BINARY_DIR}/gzipped")
set(_gzipped)
# quorvane_gzip(SOURCE NAME): ${_gzipped_dir}/NAME.gz from SOURCE, made by the build.
function(quorvane_gzip source name)
    set(output "${_gzipped_dir}/${name}.gz")
    add_custom_command(OUTPUT "${output}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${_gzipped_dir}"
        COMMAND "${CMAKE_COMMAND}" -E copy "${source}" "${_gzipped_dir}/${name}"
        COMMAND gzip -9nf "${_gzipped_dir}/${name}"
        DEPENDS "${source}"
        VERBATIM)
    set(_gzipped ${_gzipped} "${output}" PARENT_SCOPE)
endfunction()
quorvane_gzip("${_data}/quorvane-cli.1" quorvane-cli.1)
quorvane_gzip("${_data}/quorvane.1" quorvane.1)
quorvane_gzip("${_data}/changelog" changelog)
add_custom_target(quorvane_gzipped ALL DEPENDS ${_gzipped})

install(TARGETS quorvane-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${_gzipped_dir}/quorvane-cli.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${_data}/quorvane-cli.bash-completion"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions" RENAME quorvane-cli)
if(QUORVANE_GUI)
    install(TARGETS quorvane RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
    install(FILES "${_gzipped_dir}/quorvane.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
    # A file manager opens ".traffic" and ".station" files with the program: the desktop entry
    # names the MIME types, the shared-mime-info package declares them.
    install(FILES "${_data}/quorvane.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
    install(FILES "${_data}/quorvane.svg"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
    install(FILES "${_data}/quorvane-mime.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
            RENAME quorvane.xml)
    install(FILES "${_data}/org.example.quorvane.metainfo.xml"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
endif()
install(FILES "${PROJECT_SOURCE_DIR}/README.md" "${_data}/copyright" DESTINATION "${_doc}")
install(FILES "${_gzipped_dir}/changelog.gz" DESTINATION "${_doc}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_CONTACT "Quorvane developers <developers@quorvane.example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorvane.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "one day of freeway loop-detector data as graphs and tables")
# The extended description's lines stay within 80 columns (lintian).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quorvane reads one day of loop-detector data (a .traffic zip archive of
30-second volumes and occupancies), groups the detectors into stations and
roads by two definition lists, and shows the day as line, scatter, colour-grid
and contour graphs, a volume sum and a CSV export. quorvane-cli does the same
without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # quorvane_1.4_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs load, by their Debian 12 package names; libdeflate0 is there for
# the inflater that the build is taking on.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt5core5a (>= 5.15), libqt5gui5 (>= 5.15), libqt5widgets5 (>= 5.15), libqt5svg5 (>= 5.15), libqwt-qt5-6, libzip4, libdeflate0")
# dpkg-shlibdeps (dpkg-dev, which tools/install-deps.sh installs) adds every other library the
# binaries are linked with, with the versions they need.
find_program(QUORVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QUORVANE_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
