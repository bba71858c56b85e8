#pragma once

#include <functional>

class Scene;

// Runs the chain of scenes starting with `first`: each scene is loaded, rendered until it names a successor,
// unloaded and deleted, and its successor follows, until a scene names the quit marker (or none).
// `current` always holds the scene being run, so the frame and window handlers can reach it.
// `renderUntilNext` runs frames until the current scene's `next` is set at the end of a frame.
// Exceptions from a scene leave the loop; the scene that threw is not deleted.
void runScenes(Scene* first, Scene*& current, const std::function<void()>& renderUntilNext);
