// Game controllers through the real SDL path, with SDL's virtual joysticks in place of hardware: the
// InputState reads them as players 1 and 2 frame by frame, as in the game.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <Ogre.h>
#include <SDL.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "input/gamepads.h"
#include "input/input_state.h"
#include "support/virtual_pad.h"

namespace
{
struct RecordingLog : Ogre::LogListener
{
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel, bool, const Ogre::String&,
                       bool&) override
    {
        text += message + "\n";
    }
    bool has(const std::string& part) const { return text.find(part) != std::string::npos; }
    std::string text;
};

class GamepadsTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        logManager.createLog("gamepads_test.log", true, false, true)->addListener(&log);
        port.emplace();
    }
    void TearDown() override
    {
        input.reset();
        pads.clear();
        port.reset();
        std::filesystem::remove_all(folder);
    }

    VirtualPad& plug(const char* name = "Quobbel Test Pad", bool mapped = true)
    {
        pads.push_back(std::make_unique<VirtualPad>(name, mapped));
        return *pads.back();
    }

    // The game's input with these controls and the mapping file of a game directory of the test's own.
    void start(const Controls& controls = Controls::defaults())
    {
        InputSources sources;
        sources.keys = std::make_unique<ScriptedKeys>();
        keys = static_cast<ScriptedKeys*>(sources.keys.get());
        sources.gamepads = std::make_unique<Gamepads>(folder + "/gamecontrollerdb.txt");
        sources.controls = controls;
        input = std::make_unique<InputState>(std::move(sources));
    }

    void frames(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            input->update(1.0 / 60);
    }

    // One letter for the action after a frame: P pressed, d down, - up.
    char state(int player, int action) const
    {
        if (input->wasPressed(player, action))
            return input->isDown(player, action) ? 'P' : '?';
        return input->isDown(player, action) ? 'd' : '-';
    }

    Ogre::LogManager logManager;
    RecordingLog log;
    const std::string folder =
        std::filesystem::temp_directory_path().string() + "/quobbel-gamepads-" + std::to_string(::getpid());
    std::optional<VirtualPadPort> port;
    std::vector<std::unique_ptr<VirtualPad>> pads;
    ScriptedKeys* keys = nullptr;
    std::unique_ptr<InputState> input;
};
} // namespace

TEST_F(GamepadsTest, ButtonsAndTheLeftStickGiveOnePressEdgeLikeAKeyWithADeadZoneAndHysteresis)
{
    VirtualPad& pad = plug();
    start();
    frames();
    ASSERT_TRUE(input->hasGamepad(1));
    EXPECT_FALSE(input->hasGamepad(2));
    EXPECT_TRUE(log.has("Game controller for player 1: Quobbel Test Pad, mapping " + pad.guid() +
                        ",Quobbel Test Pad,a:b0,b:b1"));

    // Each button held for two frames, then released: its own actions only, pressed in the first frame.
    const struct
    {
        SDL_GameControllerButton button;
        std::vector<int> actions;
    } buttons[] = {
        {SDL_CONTROLLER_BUTTON_A, {action::jump, action::accept}},
        {SDL_CONTROLLER_BUTTON_B, {action::back}},
        {SDL_CONTROLLER_BUTTON_START, {action::back}},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, {action::menuUp}},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, {action::menuDown}},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, {action::menuLeft, action::moveLeft}},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {action::menuRight, action::moveRight}},
    };
    for (const auto& [button, actions] : buttons)
    {
        std::string seen;
        for (const bool held : {true, true, false})
        {
            pad.button(button, held);
            frames();
            for (int anAction = 0; anAction < action::count; ++anAction)
                seen += state(1, anAction);
            seen += ' ';
        }
        std::string pressed(action::count, '-'), down = pressed;
        for (int anAction : actions)
        {
            pressed[anAction] = 'P';
            down[anAction] = 'd';
        }
        EXPECT_EQ(seen, pressed + " " + down + " " + std::string(action::count, '-') + " ")
            << SDL_GameControllerGetStringForButton(button);
    }

    // The left stick: pressed past 25 %, released below 15 %, nothing in between.
    std::string right, left, up, down;
    for (const double x : {0.2, 0.3, 0.2, 0.3, 0.16, 0.1, 0.3, 0.0, -0.24, -0.26, -0.9, 0.0})
    {
        pad.axis(SDL_CONTROLLER_AXIS_LEFTX, x);
        frames();
        right += state(1, action::moveRight);
        left += state(1, action::menuLeft);
    }
    EXPECT_EQ(right, "-Pddd-P-----");
    EXPECT_EQ(left, "---------Pd-");
    for (const double y : {-0.3, -0.3, 0.0, 0.3})
    {
        pad.axis(SDL_CONTROLLER_AXIS_LEFTY, y);
        frames();
        up += state(1, action::menuUp);
        down += state(1, action::menuDown);
    }
    EXPECT_EQ(up, "Pd--") << "SDL's y axis points down";
    EXPECT_EQ(down, "---P");

    // A key and a button of the same action held together are one press.
    keys->press(OIS::KC_W);
    frames();
    EXPECT_EQ(state(1, action::jump), 'P');
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    frames();
    EXPECT_EQ(state(1, action::jump), 'd');
    keys->release(OIS::KC_W);
    frames();
    EXPECT_EQ(state(1, action::jump), 'd');
}

TEST_F(GamepadsTest, TiltComesFromTheRightStickOrTheTriggersWithinThirtyFiveDegreesAndAddsToTheKeys)
{
    VirtualPad& stick = plug("Quobbel Stick Pad");
    VirtualPad& triggers = plug("Quobbel Trigger Pad");
    Controls controls = Controls::defaults();
    controls.tilt[2] = TiltSource::triggers;
    start(controls);

    // Up is positive, as the tilt-up key; a worn stick resting a little off centre stays level.
    const struct
    {
        double rightY; // SDL's direction: negative is up
        float tilt;
    } sticks[] = {{-1, 35}, {1, -35}, {-0.55, 17.5f}, {0.08, 0}, {0, 0}};
    for (const auto& [rightY, tilt] : sticks)
    {
        stick.axis(SDL_CONTROLLER_AXIS_RIGHTY, rightY);
        frames();
        EXPECT_NEAR(input->tilt(1), tilt, 0.01) << rightY;
    }
    // Right trigger up, left down; player 2's stick does nothing.
    const struct
    {
        double right, left;
        float tilt;
    } pulls[] = {{1, 0, 35}, {0, 1, -35}, {1, 1, 0}, {0.55, 0, 17.5f}, {0, 0, 0}};
    triggers.axis(SDL_CONTROLLER_AXIS_RIGHTY, -1);
    for (const auto& [right, left, tilt] : pulls)
    {
        triggers.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, right);
        triggers.trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, left);
        frames();
        EXPECT_NEAR(input->tilt(2), tilt, 0.02) << right << " " << left;
    }

    // The keys' tilt stays where it is left; the stick adds to it, within the bounds.
    keys->press(OIS::KC_E);
    frames(12);
    keys->release(OIS::KC_E);
    frames();
    EXPECT_NEAR(input->tilt(1), 20, 0.01);
    stick.axis(SDL_CONTROLLER_AXIS_RIGHTY, -1);
    frames();
    EXPECT_FLOAT_EQ(input->tilt(1), 35);
    stick.axis(SDL_CONTROLLER_AXIS_RIGHTY, 1);
    frames();
    EXPECT_NEAR(input->tilt(1), -15, 0.01);
}

TEST_F(GamepadsTest, ControllersTakeFreePlayersAsTheyComeAndGoAndUnpluggingReleasesWhatTheyHeld)
{
    auto first = std::make_unique<VirtualPad>("Quobbel First Pad", true);
    start();
    frames();
    ASSERT_TRUE(input->hasGamepad(1));
    EXPECT_FALSE(input->hasGamepad(2));

    // Plugged in mid-game: player 2, and its buttons are player 2's only.
    VirtualPad& second = plug("Quobbel Second Pad");
    frames();
    ASSERT_TRUE(input->hasGamepad(2));
    EXPECT_TRUE(log.has("Game controller for player 2: Quobbel Second Pad"));
    second.button(SDL_CONTROLLER_BUTTON_A, true);
    frames();
    EXPECT_EQ(state(2, action::jump), 'P');
    EXPECT_EQ(state(1, action::jump), '-');

    // Unplugged in the middle of a press: the press ends, the tilt levels, player 2 stays player 2.
    first->button(SDL_CONTROLLER_BUTTON_A, true);
    first->axis(SDL_CONTROLLER_AXIS_LEFTX, 1);
    first->axis(SDL_CONTROLLER_AXIS_RIGHTY, -1);
    frames();
    EXPECT_EQ(state(1, action::moveRight), 'P');
    EXPECT_EQ(input->tilt(1), 35);
    first->unplug();
    frames();
    EXPECT_FALSE(input->hasGamepad(1));
    EXPECT_EQ(state(1, action::jump), '-');
    EXPECT_EQ(state(1, action::moveRight), '-');
    EXPECT_EQ(input->tilt(1), 0);
    EXPECT_TRUE(log.has("Game controller of player 1 removed: Quobbel First Pad"));
    EXPECT_EQ(state(2, action::jump), 'd');

    // Plugged back in, it is player 1 again; a third waits for a free player.
    first = std::make_unique<VirtualPad>("Quobbel First Pad", true);
    VirtualPad& third = plug("Quobbel Third Pad");
    frames();
    EXPECT_TRUE(input->hasGamepad(1));
    EXPECT_TRUE(log.has("Game controller waiting until a player's controller is removed: Quobbel Third Pad"));
    third.button(SDL_CONTROLLER_BUTTON_B, true);
    frames();
    EXPECT_FALSE(input->isDown(0, action::back));
    second.unplug();
    frames();
    EXPECT_TRUE(log.has("Game controller for player 2: Quobbel Third Pad"));
    EXPECT_TRUE(input->isDown(2, action::back));

    // A rumble pulse reaches player 2's controller only, and SDL ends it.
    input->rumble(2, 0.05);
    ASSERT_EQ(third.rumbles.size(), 1u);
    EXPECT_EQ(third.rumbles[0].low, Gamepads::rumbleStrength);
    EXPECT_TRUE(first->rumbles.empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    frames();
    ASSERT_EQ(third.rumbles.size(), 2u);
    EXPECT_EQ(third.rumbles[1].low, 0);
}

TEST_F(GamepadsTest, AJoystickIsAControllerOnlyWithAMappingFromTheGameDirectoryOrTheEnvironment)
{
    // A joystick SDL knows nothing about: four buttons, two axes.
    VirtualPad& stick = plug("Quobbel Odd Stick", false);
    start();
    frames();
    EXPECT_FALSE(input->hasGamepad(1));
    EXPECT_TRUE(log.has("Joystick not used, no controller mapping for it: Quobbel Odd Stick"));
    input.reset();

    // Its third button is south, its first Start, its x axis the d-pad.
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/gamecontrollerdb.txt")
        << "# Quobbel's own\n"
        << stick.guid() << ",Quobbel Odd Stick,a:b2,b:b3,start:b0,dpleft:-a0,dpright:+a0,platform:Linux,\n"
        << "03000000000000000000000000000000,Elsewhere,a:b0,platform:Windows,\n";
    start();
    frames();
    EXPECT_TRUE(log.has("gamecontrollerdb.txt: 1 controller mappings added"));
    ASSERT_TRUE(input->hasGamepad(1));
    EXPECT_TRUE(log.has("Game controller for player 1: Quobbel Odd Stick, mapping " + stick.guid() +
                        ",Quobbel Odd Stick,a:b2,b:b3,"));
    stick.button(2, true);
    stick.axis(0, -1);
    frames();
    EXPECT_EQ(state(1, action::jump), 'P');
    EXPECT_EQ(state(1, action::moveLeft), 'P');
    input.reset();

    // SDL_GAMECONTROLLERCONFIG beats the file: SDL reads it when its controller support starts.
    setenv("SDL_GAMECONTROLLERCONFIG", (stick.guid() + ",Quobbel Odd Stick,a:b1,platform:Linux,").c_str(), 1);
    pads.clear();
    port.reset();
    port.emplace();
    VirtualPad& again = plug("Quobbel Odd Stick", false);
    start();
    unsetenv("SDL_GAMECONTROLLERCONFIG");
    again.button(1, true);
    frames();
    EXPECT_EQ(state(1, action::jump), 'P');
}

TEST(PadPlayer, MotionTiltSetsLevelWhileSelectIsHeldAndFallsBackToTheStickWithoutSensors)
{
    const auto pitched = [](double degrees, bool select)
    {
        PadReading reading;
        reading.connected = true;
        reading.hasMotion = true;
        const double radians = degrees * 3.14159265358979 / 180;
        reading.motion.accel = {0, static_cast<float>(9.81 * std::cos(radians)),
                                static_cast<float>(-9.81 * std::sin(radians))};
        reading.buttons[static_cast<int>(PadButton::select)] = select;
        reading.rightY = 1;
        return reading;
    };
    PadPlayer player;
    const auto hold = [&](const PadReading& reading, int frames)
    {
        for (int i = 0; i < frames; ++i)
            player.update(reading, TiltSource::motion, 1.0 / 60);
        return player.tilt();
    };
    EXPECT_NEAR(hold(pitched(30, false), 1), 0, 0.01) << "the first pose is level";
    EXPECT_NEAR(hold(pitched(50, false), 200), 20, 0.01) << "the stick plays no part";
    EXPECT_NEAR(hold(pitched(50, true), 1), 0, 0.01);
    EXPECT_NEAR(hold(pitched(30, false), 200), -20, 0.01);

    PadReading noSensors = pitched(30, false);
    noSensors.hasMotion = false;
    EXPECT_FLOAT_EQ(hold(noSensors, 1), 35);
}
