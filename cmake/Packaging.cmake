# The Debian package, made from the install rules: `cpack -G DEB` in a build folder writes
# quobbel_<version>_amd64.deb. Its dependencies are those of the libraries the programs link (dpkg-shlibdeps;
# the engine's plugins, loaded at run time, come in the same Debian package as the engine).
# cpack packs what is built; it does not build everything first (scripts/package.sh builds, then packs), so
# that a test can pack a build folder that is being tested.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quobbel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QUOBBEL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-view 3D platform game with tilting planks")
set(CPACK_PACKAGE_DESCRIPTION
    "Bears run and jump across planks that rotate or slide under them as the\n"
    "player tilts them, dodge meteors, take checkpoints and reach the cat at the\n"
    "goal of each level. A boss octopus ends the game. For one player, or two at\n"
    "once on one keyboard or with Wii remotes. One-player runs are timed into a\n"
    "table of the ten best times.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUOBBEL_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
