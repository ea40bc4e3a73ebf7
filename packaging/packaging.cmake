# The Debian package: `make package`, or `cpack -G DEB` in the build folder.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessavox)
set(CPACK_PACKAGE_VENDOR "${TESSAVOX_DEVELOPER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TESSAVOX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vowel charts from formant measurements")
set(CPACK_PACKAGE_DESCRIPTION
    "Tessavox draws F1-F2 and F1-F3 vowel charts on the Bark scale for phoneticians.
Open a file of formant measurements, one vowel token per line, and edit the
tokens in a table; the charts show every token as its symbol, and each vowel's
mean, label and two-standard-deviation ellipse. Tables and charts print, and
charts save as bitmaps.
.
The tessavox-batch tool draws the same charts as PNG, BMP, SVG or PDF files
without a display, for scripts and papers. Example files with the Peterson and
Barney (1952) vowel measurements are included.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Installed through DESTDIR, so the install steps that update the running desktop's
# caches leave the package alone; dpkg triggers do that on the user's machine.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TESSAVOX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TESSAVOX_HOMEPAGE}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Qt libraries and the rest are read from the programs themselves. The audio libraries
# are opened only when recordings are measured, so the programs do not name them: listed here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsndfile1, libsoxr0")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
