#include "audio/ogg_data_source.h"

#include <cstdio>

#include <OgreResourceGroupManager.h>

namespace audio
{
namespace
{
size_t readStream(void* destination, size_t size, size_t count, void* source)
{
    if (size == 0)
        return 0;
    auto* stream = static_cast<Ogre::DataStream*>(source);
    return stream->read(destination, size * count) / size;
}

int seekStream(void* source, ogg_int64_t offset, int whence)
{
    auto* stream = static_cast<Ogre::DataStream*>(source);
    switch (whence)
    {
    case SEEK_SET:
        stream->seek(static_cast<size_t>(offset));
        break;
    case SEEK_CUR:
        stream->skip(static_cast<long>(offset));
        break;
    case SEEK_END:
        stream->seek(stream->size());
        stream->skip(static_cast<long>(offset));
        break;
    default:
        break;
    }
    return 0;
}

// The holder of the `Ogre::DataStreamPtr` closes the stream, never the decoder.
int closeStream(void*)
{
    return 0;
}

long tellStream(void* source)
{
    return static_cast<long>(static_cast<Ogre::DataStream*>(source)->tell());
}
} // namespace

int openDecoder(OggVorbis_File& decoder, Ogre::DataStream& stream)
{
    const ov_callbacks callbacks = {readStream, seekStream, closeStream, tellStream};
    return ov_open_callbacks(&stream, &decoder, nullptr, 0, callbacks);
}

Ogre::DataStreamPtr openSoundResource(const std::string& fileName)
{
    auto* resources = Ogre::ResourceGroupManager::getSingletonPtr();
    const Ogre::String& group = resources->findGroupContainingResource(fileName);
    return resources->openResource(fileName, group, nullptr);
}

} // namespace audio
