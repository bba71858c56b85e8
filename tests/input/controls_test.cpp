// The controls file: what each kind of line does, and the example the media step writes.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input/controls.h"

TEST(Controls, GoodLinesRebindAndEveryBadLineIsReportedWithItsNumberAndChangesNothing)
{
    const std::string text = "# comment = not a setting\n"
                             "\n"
                             "player1.jump = KC_SPACE\n"             // 3
                             "  Player2.MoveLeft=numpad4  \r\n"      // 4: case and spacing are free
                             "player1.accept = kc_lcontrol\n"        // 5
                             "player2.tilt = Triggers\n"             // 6
                             "player1.tilt = motion\n"               // 7
                             "player1.musicToggle = KC_UNASSIGNED\n" // 8
                             "player1.back = KC_SPACEBAR\n"          // 9: no such key
                             "player3.jump = KC_J\n"                 // 10: no such player
                             "player2.jumpp = KC_J\n"                // 11: no such action
                             "player2.tilt = gyro\n"                 // 12: no such source
                             "player2.menuUp KC_U\n"                 // 13: no '='
                             "jump = KC_J\n"                         // 14: no player
                             "player2.menuDown =\n"                  // 15: no key
                             "player1.moveRight = KC_L\n"            // 16
                             "player1.moveRight = KC_SEMICOLON\n";   // 17: the later line wins
    const ControlsFile file = parseControls(text, "controls.cfg");

    Controls expected = Controls::defaults();
    expected.keys[1][action::jump] = OIS::KC_SPACE;
    expected.keys[2][action::moveLeft] = OIS::KC_NUMPAD4;
    expected.keys[1][action::accept] = OIS::KC_LCONTROL;
    expected.tilt[2] = TiltSource::triggers;
    expected.tilt[1] = TiltSource::motion;
    expected.keys[1][action::musicToggle] = OIS::KC_UNASSIGNED;
    expected.keys[1][action::moveRight] = OIS::KC_SEMICOLON;
    EXPECT_EQ(file.controls.keys, expected.keys);
    EXPECT_EQ(file.controls.tilt, expected.tilt);

    const std::vector<std::string> problems = {
        R"(controls.cfg line 9: unknown key "KC_SPACEBAR" for player1.back; line ignored)",
        R"(controls.cfg line 10: unknown player "player3" (player1 or player2); line ignored)",
        R"(controls.cfg line 11: unknown action "jumpp"; line ignored)",
        R"(controls.cfg line 12: unknown tilt source "gyro" for player2.tilt (stick, triggers or motion); line ignored)",
        R"(controls.cfg line 13: expected "player<1|2>.<action or tilt> = <value>", found "player2.menuUp KC_U"; line ignored)",
        R"(controls.cfg line 14: unknown setting "jump" (player<1|2>.<action or tilt>); line ignored)",
        R"(controls.cfg line 15: unknown key "" for player2.menuDown; line ignored)",
    };
    EXPECT_EQ(file.problems, problems);
}

TEST(Controls, TheExampleFileSetsEveryActionOfBothPlayersToItsDefault)
{
    const std::string example = controlsExample();
    const ControlsFile parsed = parseControls(example, "controls.cfg.example");
    EXPECT_TRUE(parsed.problems.empty());
    EXPECT_EQ(parsed.controls.keys, Controls::defaults().keys);
    EXPECT_EQ(parsed.controls.tilt, Controls::defaults().tilt);
    // Every setting is written out, so that changing a line of the copy is all a player has to do.
    for (int player = 1; player <= playerCount; ++player)
    {
        for (const char* name : action::names)
            EXPECT_NE(example.find("player" + std::to_string(player) + "." + name + " = "), std::string::npos)
                << name;
        EXPECT_NE(example.find("player" + std::to_string(player) + ".tilt = stick"), std::string::npos);
    }
}
