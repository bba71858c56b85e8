// A whole one-player game through the recorded routes: every level in turn, the name entry, the scores
// file and the results, with the real application and media.

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "scenes/main_scene.h"
#include "scenes/results_scene.h"
#include "scenes/score_table.h"
#include "support/replay.h"
#include "support/test_paths.h"

namespace
{
std::string readScores()
{
    std::ifstream in(ScoreTable::filePath());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

TEST(WholeGame, OnePlayerPlaysEveryLevelEntersANameAndSeesItInTheResults)
{
    GameDriver game(new MainScene("mapa1.imf", 1));
    auto* scene = &game.current<MainScene>();
    const std::set<ScoreTable::Entry> before = ScoreTable::parse(readScores());

    for (const std::string level : {"mapa1", "mapa2", "mapa3", "boss1"})
    {
        ASSERT_EQ(scene->levelFile(), level + ".imf");
        const Route route = Route::load(testing_paths::sourceDir() + "/tests/routes/" + level + "_1p.route");
        for (std::size_t frame = 0; frame < route.frames.size() && scene->winner() == 0; ++frame)
            game.step(route.frames[frame]);
        ASSERT_EQ(scene->winner(), 1)
            << level << "'s route, played on from the level before, missed the goal";
        // The jingle plays in real time: Escape skips it, and the next level loads within that frame; its
        // route starts with the frame after, as on a fresh start. The toolkit's clock (whole
        // milliseconds; fades and the GO sign run on it) repeats its rounding every three frames, so the
        // level loads on a multiple of three frames, as a fresh start loads on frame 0.
        while ((game.frameCount() + 1) % 3 != 0)
            game.idle(1);
        game.step(ReplayFrame::holding("B"));
        ASSERT_EQ(game.scene(), scene);
    }

    ASSERT_NE(scene->scoreTable(), nullptr) << "the game ends in the name entry";
    const double gameTime = scene->levelTime();
    // "CAT": down twice from A, next letter (A), next letter, up seven times from A; then save.
    game.press("DDRRUUUUUUUA");
    game.idle(2);
    auto* results = game.sceneAs<ResultsScene>();
    ASSERT_NE(results, nullptr);

    const std::set<ScoreTable::Entry> after = ScoreTable::parse(readScores());
    std::size_t rank = 0;
    for (const ScoreTable::Entry& entry : before)
        rank += entry.first <= gameTime;
    ASSERT_LT(rank, ScoreTable::shownEntries) << "a first game's time makes the table";
    std::istringstream lines(readScores());
    std::string line;
    for (std::size_t i = 0; i <= rank; ++i)
        std::getline(lines, line);
    std::istringstream fields(line);
    std::string name;
    double seconds = 0;
    fields >> name >> seconds;
    EXPECT_EQ(name, "CAT");
    EXPECT_NEAR(seconds, gameTime, 0.01);

    ASSERT_NE(results->scoreTable(), nullptr);
    EXPECT_EQ(results->scoreTable()->entries(), after) << "the results show the saved table";
    EXPECT_EQ(after.count({seconds, "CAT"}), 1u);
}
