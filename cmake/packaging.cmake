# `cpack -G DEB` in the build folder makes brindle_<version>_<arch>.deb from the install rules.
set(CPACK_PACKAGE_NAME brindle)
set(CPACK_PACKAGE_VENDOR "Brindle")
set(CPACK_PACKAGE_CONTACT "Brindle developers <brindle@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Batch image resizer with a window and a command line")
set(CPACK_PACKAGE_DESCRIPTION
    "Resizes many JPEG, PNG, GIF, BMP and TIFF images in one parallel run, from a window (BrindleGUI) or from the terminal (brindle).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its TIFF reader as a plugin, which no binary links, so dpkg-shlibdeps cannot find it; without it
# no TIFF file can be queued. Added to the computed list.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt5-image-formats-plugins)
# A RelWithDebInfo build carries its debug information; the package ships the binaries without it.
set(CPACK_STRIP_FILES ON)
# The engine library is the package's own, in the program folder; dpkg-shlibdeps looks there for it
# instead of asking which package provides it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
include(CPack)
