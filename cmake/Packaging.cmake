# The Debian package: `cpack -G DEB` in the build folder makes
# kestrelia_<version>_amd64.deb of everything `cmake --install` installs, under /usr.
set(CPACK_PACKAGE_NAME kestrelia)
set(CPACK_PACKAGE_VENDOR "Kestrelia")
set(CPACK_PACKAGE_CONTACT "Kestrelia maintainers <maintainers@users.noreply.c-seed-0ab69bb4.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "disk benchmark for drives and volumes")
# Debian wraps the extended description at 80 columns: each line here stays shorter.
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrelia times large sequential transfers at zones spread from the first\n"
    "to the last sector of a drive or volume, or 10,000 random 4 KiB transfers,\n"
    "and shows the speeds as a bar graph per zone. Writes put back the data just\n"
    "read. kestrelia-cli runs the same tests from a terminal.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
# The libraries come from dpkg-shlibdeps; these are loaded at run time or run.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "pkexec, qt6-qpa-plugins, qt6-wayland, qt6-image-formats-plugins")
# Qt's own texts (standard dialogs and buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# On purge, /run/kestrelia goes when it is empty (resources/linux/postrm).
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/resources/linux/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
