#pragma once

#include <memory>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "core/scene.h"

class GameDriver;
class MainScene;

// What a measured run recorded; outlives the scene, which the scene loop deletes when it leaves it.
struct RunRecord
{
    // The last update's processor time, microseconds, whether measured below or not ("GO" sign, pause).
    double lastUpdateMicros = 0;
    double loadMilliseconds = 0;    // wall clock
    double loadCpuMilliseconds = 0; // the main thread's processor time
    std::vector<double> updateMicros;
    std::vector<double> stepMicros;
    std::vector<AllocationTally> allocations;
    bool goalReached = false;
    // The level was left (won, or another scene named): the run is over.
    bool ended = false;
};

// A main scene wrapped for measuring: its load time, and for every frame of steady play the
// processor time of its update and of the physics step inside it, and the heap allocations the update
// made. Frames of the "GO" sign and of the pause menu are played but not measured; the run ends at
// the first frame that leaves the level (the next level loaded in place, or another scene named), and
// that frame is not measured either: it holds an unload and a load.
class MeasuredScene : public Scene
{
  public:
    // level: file name ("mapa1.imf"); players: 1 or 2; `record` must outlive the scene. Room for
    // expectedFrames samples is reserved, so that recording them never allocates inside a frame.
    MeasuredScene(const std::string& level, int players, RunRecord& record, std::size_t expectedFrames);
    ~MeasuredScene() override;

    void load() override;
    void unload() override;
    void update(double frameTime, InputState* input) override;

    // Ends the run: the scene loop leaves this scene for `successor` after the current frame. The run's
    // record is not touched from here on: it may be gone.
    void handOver(Scene* successor);

  private:
    std::string mLevel;
    std::unique_ptr<MainScene> mInner;
    RunRecord& mRecord;
    bool mHandedOver = false;
};

// Leaves the driver's current scene for `successor` at the end of one more frame, and loads it. The
// toolkit's clock (whole milliseconds; fades and the "GO" sign run on it) repeats its rounding every three
// frames, so the successor loads on a multiple of three frames, as a fresh start loads on frame 0: a route
// then meets the same timings it was recorded with. Throws std::runtime_error when the game has quit.
void switchTo(GameDriver& game, Scene* successor);
