# Every third-party library comes from Debian packages. Their headers are SYSTEM includes so that our
# warning flags apply to our code only.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(Boost 1.74 REQUIRED COMPONENTS thread chrono)

function(quobbel_pkg name)
    pkg_check_modules(${name} REQUIRED IMPORTED_TARGET ${ARGN})
    get_target_property(dirs PkgConfig::${name} INTERFACE_INCLUDE_DIRECTORIES)
    if(dirs)
        set_target_properties(PkgConfig::${name} PROPERTIES INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${dirs}")
    endif()
endfunction()

# The game uses the header-only window listener of OgreBites and loads its library only to show the
# render settings dialog (platform/config_dialog.h).
quobbel_pkg(OGRE OGRE OGRE-Overlay)
quobbel_pkg(OIS OIS)
quobbel_pkg(OPENAL openal)
quobbel_pkg(VORBIS vorbisfile vorbisenc vorbis ogg)
quobbel_pkg(BOX2D box2d)
quobbel_pkg(XWIIMOTE libxwiimote)
quobbel_pkg(SDL2 sdl2)
quobbel_pkg(LIBZIP libzip)
quobbel_pkg(ZLIB zlib)
quobbel_pkg(XRANDR xrandr)
quobbel_pkg(FREETYPE freetype2)
# PNG files outside the engine: level pictures and desktop icons.
quobbel_pkg(PNG libpng)

pkg_get_variable(QUOBBEL_OGRE_PLUGIN_DIR OGRE plugindir)
if(NOT QUOBBEL_OGRE_PLUGIN_DIR)
    message(FATAL_ERROR "Ogre's plugin directory is unknown (pkg-config --variable=plugindir OGRE)")
endif()
