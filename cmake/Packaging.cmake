# `make package` (cpack -G DEB): one Debian package with both programs, the
# udev rule, the desktop entry, icons, metainfo, man pages and completion.
# Library dependencies come from dpkg-shlibdeps; the postinst reloads the udev
# rules where udev runs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvex48)
set(CPACK_PACKAGE_VENDOR "The korvex48 developers")
set(CPACK_PACKAGE_CONTACT "The korvex48 developers <korvex48@korvex48.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://korvex48.org/guide")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration editor for Korvex48 gaming mice")
set(CPACK_PACKAGE_DESCRIPTION "Gives the buttons of the three profiles of a Korvex48 gaming mouse their
functions, sets its DPI levels, report rate and lighting, stores macros on it
and programs firmware patches. It also sets the desktop's pointer speed,
double-click time and wheel lines. Contains the Qt editor korvex48, the
command-line tool korvex48ctl and the udev rule that lets the user at the
seat open the mouse.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins, and the editor GIO (libglib2.0-0; for
# GSettings and the session bus, g_settings_schema_has_key is from 2.40), at
# run time, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libglib2.0-0 (>= 2.40)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gsettings-desktop-schemas")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/resources/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
