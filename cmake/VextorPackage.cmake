# cpack -G DEB: a Debian package of the three programs with the desktop program's menu entry and
# icon. The library dependencies are read from the programs themselves (dpkg-shlibdeps), so the
# package asks for exactly the Qt and C++ libraries this build links against.
set(CPACK_PACKAGE_NAME vextor-configurator)
set(CPACK_PACKAGE_VENDOR "Vextor Configurator developers")
set(CPACK_PACKAGE_CONTACT "Vextor Configurator developers <vextor-configurator@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Commissioning tool for Vextor process controllers on RS-485")
set(CPACK_PACKAGE_DESCRIPTION
    "Sets up Vextor process controllers for building services over an RS-485 line: a project of
controllers, their configuration, event log, live inputs and outputs and direct service.
Includes vextorctl for scripted work and vextor-sim, a virtual controller for training and tests.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The Russian texts of Qt's own dialogs (the file dialogs' buttons) come from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
include(CPack)
