# The Debian package: `cpack -G DEB` in a build folder (scripts/package does
# the whole job). It installs under /usr whatever CMAKE_INSTALL_PREFIX says;
# the program finds its program folder relative to its executable, so the
# same build serves both. The library dependencies are computed by
# dpkg-shlibdeps (Debian's dpkg-dev) from the programs themselves.
set(CPACK_PACKAGE_NAME velkaro)
set(CPACK_PACKAGE_VENDOR "The Velkaro Pro developers")
set(CPACK_PACKAGE_CONTACT "The Velkaro Pro developers <${VELKARO_FEEDBACK_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "address book shaped like a paper notebook")
# Debian's extended description: lines of at most 80 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Velkaro Pro keeps addresses and notes on the pages of a notebook: a\n"
  "rich-text page editor with a column of page tabs, one data file with a\n"
  "plain-text export beside it, dated backups, named styles, an optional\n"
  "start-up password, find across pages and help. The interface is Russian.\n"
  "\n"
  "velkaro-cli reads a book from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Wayland platform plugin, Qt's own dialogs in Russian, and Wine's Tahoma
# stand-in for the pages' default font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n, fonts-wine")

include(CPack)
