#pragma once

#include <cstdint>

class InputState;

// A scene is one link of the game's chain: title, a level being played, results, credits.
// The scene loop calls load() once, then update() once per rendered frame until `next` is set at the end
// of a frame, then unload(), then deletes the scene. Constructors only store parameters: no loading.
class Scene
{
  public:
    // Successor written into `next` to end the program. Compared, never dereferenced.
    static Scene* quitMarker() { return reinterpret_cast<Scene*>(~static_cast<std::uintptr_t>(0)); }

    virtual ~Scene() = default;

    // Builds the scene's engine objects, overlays, game objects and sounds.
    virtual void load() {}
    // Destroys what load() built.
    virtual void unload() {}
    // Called once per frame; frameTime is in seconds, already clamped to at most 0.04.
    virtual void update(double frameTime, InputState* input)
    {
        (void)frameTime;
        (void)input;
    }

    // Null while the scene goes on; otherwise the successor, owned by the scene loop from the moment it is
    // stored here, or quitMarker().
    Scene* next = nullptr;
};
