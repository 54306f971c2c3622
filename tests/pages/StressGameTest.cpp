// A game ten times the usual size, as the feed tool's --scale 10 writes it.
#include "PagesTestSupport.h"

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"

using StressGame = PagesFixture;

TEST_F(StressGame, EveryPageOfATenfoldGameFills)
{
    using namespace pylonix::feed;
    const RosterFactory rosters(10);
    GameSimulator simulator(1, rosters.home(), rosters.visitor(), 10);
    simulator.run({});
    ScratchDirectory dir;
    const std::string path = dir.Write("game.xml", GameXmlWriter::write(simulator.state()));

    ASSERT_TRUE(session.Reload({path, "", ""}).gameOpened);
    FillAll();

    // Ten times the rosters: many more players than one table page shows.
    EXPECT_GT(pages.defense[0]->GetItemCount(), 100);
    EXPECT_GT(pages.playByPlay->GetItemCount(), 1500);
    EXPECT_GT(pages.driveList->GetItemCount(), 100);
    EXPECT_EQ(pages.driveList->GetItemCount(), drives.count());
    EXPECT_EQ(pages.playList->GetItemCount(), drives.count());
    // Every play row of the whole game carries a down in column 0 or continues one.
    int plays = 0;
    for (int row = 0; row < pages.playByPlay->GetItemCount(); ++row)
        plays += pages.playByPlay->GetItemText(row, 0).contains(u'-');
    EXPECT_GT(plays, 1000);
}
