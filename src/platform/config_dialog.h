#pragma once

namespace Ogre
{
class ConfigDialog;
}

namespace platform
{

// The engine's own render settings dialog ("Rendering Settings"), which a start without "directx.cfg"
// shows. Its library brings the shader generator and an X toolkit with it, a few milliseconds of linking
// and about 2 MiB that every other start does without, so it is loaded here, on the first call, and stays
// loaded: the dialog belongs to it. Null, with a line in the log, when the library cannot be loaded.
Ogre::ConfigDialog* nativeConfigDialog();

} // namespace platform
