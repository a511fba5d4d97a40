# The Debian package: `cpack -G DEB` in the build folder makes
# kestrelia_<version>_amd64.deb of everything `cmake --install` installs, under /usr.
set(CPACK_PACKAGE_NAME kestrelia)
set(CPACK_PACKAGE_VENDOR "Kestrelia")
set(CPACK_PACKAGE_CONTACT "Kestrelia maintainers <maintainers@users.noreply.c-seed-0ab69bb4.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "disk benchmark for drives and volumes")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrelia times large sequential transfers at zones spread from the first to the last sector\n"
    "of a drive or volume, or 10,000 random 4 KiB transfers, and shows the speeds as a bar graph\n"
    "per zone. Writes put back the data just read. kestrelia-cli runs the same tests from a terminal.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KESTRELIA_HOMEPAGE}")
# The libraries come from dpkg-shlibdeps; these are loaded at run time or run.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "pkexec, qt6-qpa-plugins, qt6-wayland, qt6-image-formats-plugins")
include(CPack)
