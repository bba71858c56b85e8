#pragma once

// Ogg Vorbis decoding straight from the engine's resource system. Sound files are engine resources found
// by bare name; the decoder reads them through an `Ogre::DataStream` instead of a file path, so they may
// live in a ZIP archive as well as in a folder.

#include <string>

#include <OgreDataStream.h>
#include <vorbis/vorbisfile.h>

namespace audio
{

// Opens `decoder` on `stream` with read, seek, close and tell callbacks over the engine stream. The stream
// is not owned: whoever holds the `Ogre::DataStreamPtr` must keep it alive until `ov_clear(decoder)`, and
// closing the decoder never closes the stream. Returns libvorbisfile's result (negative: not Ogg Vorbis);
// on failure the decoder needs no `ov_clear`.
int openDecoder(OggVorbis_File& decoder, Ogre::DataStream& stream);

// Opens the resource `fileName` from whichever resource group holds it. The engine's exception for a name
// no group holds passes through to the caller.
Ogre::DataStreamPtr openSoundResource(const std::string& fileName);

// `ov_read` answers a hole or a damaged page with a negative result and goes on with the next page; a
// damaged file can answer that way without end. Decoding gives up on a file after this many negative
// results in a row, so a corrupt file cannot hang the game.
constexpr int maxConsecutiveDecodeErrors = 64;

} // namespace audio
