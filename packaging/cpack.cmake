# The Debian package: `cpack -G DEB` in a release build folder, after
# building the tolvaris and tolvaris-chart targets.

# Packaging installs what is built; it must not build every target first
# (the benchmark and the tests have no part in the package).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_PACKAGE_NAME "tolvaris")
set(CPACK_PACKAGE_VENDOR "The Tolvaris developers")
set(CPACK_PACKAGE_CONTACT "The Tolvaris developers <developers@tolvaris.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "written interpretations of a natal chart")
set(CPACK_PACKAGE_DESCRIPTION
    [=[
Tolvaris shows written interpretations of the elements of a natal chart.
You pick a sign, a house, a planet and an aspect, and Tolvaris shows the
matching entry of its text library, which comes with this package, as a
page in its output window.
.
Every page shown can be saved to a text file. The output font and the
output window's place are kept between runs.
.
The command tolvaris-chart computes a natal chart from the date, time and
place of birth (positions from the Swiss Ephemeris, houses, aspects) and
prints it as a table or as JSON.]=])
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tolvaris.org/")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The Qt libraries come from the executable's links; what is loaded at run
# time is named here: the X11 platform plugin, the SVG plugins for the window
# icon, Liberation Sans and Mono for the controls and the output text, and
# Symbola for the wheel's sign, planet and retrograde glyphs (DejaVu lacks
# some). Qt SVG and Print Support come from the links.
# The chart reads the Swiss Ephemeris files and the tz database, which no
# link names; libswe2.0 and libsqlite3-0 come from tolvaris-chart's links (its C++ runtime is
# linked in), Qt from tolvaris's and the drawing module's.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6svg6, fonts-liberation, fonts-symbola, fonts-dejavu-core, fonts-dejavu-extra, swe-basic-data, tzdata"
)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

include(CPack)
