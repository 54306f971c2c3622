#include "gamedata/PlayYards.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/DerivedDrives.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace
{

GamePlays playsOf(const std::string &body, bool withDrives = false)
{
    ScratchDirectory dir;
    CGameDocument document;
    EXPECT_TRUE(
        document.Open(dir.Write("game.xml", "<fbgame><venue><rules field=\"100\"/></venue>" +
                                                std::string(withDrives ? "<drives/>" : "") +
                                                "<plays>" + body + "</plays></fbgame>")));
    return ReadGamePlays(document);
}

// A visitor drive that runs into the second quarter, a home drive that
// scores on an absurd gain, a visitor punt snapped out of the end zone and a
// home field goal with the kickoff after it.
// No play has "yds" but the fourth.
const char *const twoDrives = R"(<qtr number="1">
  <play playid="1,1,1" context="H,0,0,H35" type="K" text="A kickoff 65 yards, touchback." clock="15:00"/>
  <play playid="1,2,2" context="V,1,10,V25" type="R" text="B rush for 4 yards to the V29"/>
  <play playid="1,3,3" context="V,2,6,V29" type="P" text="C pass incomplete to D."/>
  <play playid="1,4,4" context="V,3,6,V29" type="P" yds="12" text="C pass to D for 3 yards"/>
  <play playid="1,5,5" context="V,1,10,V41" type="x" text="C scrambles up the middle"/>
  <play playid="1,6,6" context="V,1,10,H47" type="E" text="PENALTY H pass interference 15 yards"/>
  <play playid="1,7,7" context="V,1,10,H32" type="R" text="E rush for 2 yards, fumble by E recovered by V E." clock="00:08"/>
 </qtr><qtr number="2">
  <play playid="1,8,8" context="V,2,8,H30" type="#" text="Start of 2nd quarter."/>
  <play playid="1,9,9" context="V,2,8,H30" type="P" text="C sacked at the H37 (F)."/>
  <play playid="1,10,10" context="V,3,15,H37" type="U" text="G punt 30 yards to the H7." clock="13:50"/>
  <play playid="2,1,11" context="H,1,10,H7" type="R" text="H rush for 999999999999 yards."/>
  <play playid="2,2,12" context="H,1,10,H3" type="P" text="I sacked for loss of 9 yards, SAFETY." clock="12:01"/>
  <play playid="3,1,13" context="V,4,10,V2" type="U" text="J punt, bad snap, ball out of the end zone, safety."/>
  <play playid="3,2,14" context="V,0,0,V20" type="K" text="J free kick 50 yards."/>
  <play playid="4,1,15" context="H,1,10,V20" type="R" text="K rush for 5 yards."/>
  <play playid="4,2,16" context="H,2,5,V15" type="F" text="L field goal attempt GOOD."/>
  <play playid="4,3,17" context="H,0,0,H35" type="K" text="L kickoff 60 yards."/>
 </qtr>)";

} // namespace

TEST(PlayYards, TextSpotsAndTheFilesOwnYards)
{
    const std::vector<PlayYards> yards = DerivePlayYards(playsOf(twoDrives));
    ASSERT_EQ(yards.size(), 17u);
    EXPECT_FALSE(yards[0].yards) << "a kickoff is neither a rush nor a pass";
    EXPECT_EQ(yards[0].Text(), "");
    EXPECT_EQ(yards[1].yards, 4);
    EXPECT_TRUE(yards[1].derived);
    EXPECT_EQ(yards[2].yards, 0) << "incomplete";
    EXPECT_EQ(yards[3].yards, 12) << "the file's yds win over the text";
    EXPECT_FALSE(yards[3].derived);
    EXPECT_EQ(yards[4].yards, 12) << "a scramble the text gives no yards for: V41 to H47";
    EXPECT_FALSE(yards[5].yards) << "a penalty gets no derived yards";
    EXPECT_EQ(yards[6].yards, 2) << "the rush's yards, not the fumble's";
    EXPECT_EQ(yards[8].Text(), "-7") << "from the spot after the quarter break, backwards";
    EXPECT_EQ(yards[10].yards, 93) << "an absurd gain stops at the goal line";
    EXPECT_EQ(yards[11].yards, -3) << "a safety loses no more than the ground to the goal line";
}

TEST(PlayYards, WhatTheTextSays)
{
    EXPECT_EQ(YardsFromPlayText("X rush for 1 yard", 100), 1);
    EXPECT_EQ(YardsFromPlayText("X Rush For No Gain", 100), 0);
    EXPECT_EQ(YardsFromPlayText("X sacked for a loss of 6 yards", 100), -6);
    EXPECT_EQ(YardsFromPlayText("pass incomplete, PENALTY for 15 yards", 100), 0);
    EXPECT_EQ(YardsFromPlayText("rush for -4 yds", 100), -4);
    EXPECT_EQ(YardsFromPlayText("rush for 400 yards", 100), 100);
    EXPECT_FALSE(YardsFromPlayText("rush before 3 yards; for the team", 100));
    EXPECT_FALSE(YardsFromPlayText("", 100));

    EXPECT_TRUE(IsRushOrPass("", "X scramble for 3 yards"));
    EXPECT_FALSE(IsRushOrPass("X", "Y rush attempt failed."));
    EXPECT_FALSE(IsRushOrPass("", "Y passed out"));
    EXPECT_TRUE(IsRushOrPass("", "Y SACKED at the 30"));
    EXPECT_FALSE(IsRushOrPass("", "Y Pass Attempt failed"));
    EXPECT_FALSE(IsRushOrPass("", "Penalty on the pass"));
    EXPECT_EQ(YardsFromPlayText("X PASS INTERCEPTED, returned FOR 30 YARDS", 100), 0);
    EXPECT_EQ(YardsFromPlayText("X pass for 12 YDS", 100), 12);
}

TEST(PlayYards, PlaysOfEveryQuarterInFileOrder)
{
    const GamePlays game = playsOf(R"(<qtr number="1"><play text="a"/><drivestart/>
      <play text="b" playid="7,1,2"/></qtr><comment/><qtr number="2"><play text="c"/></qtr>
      </plays><plays><qtr number="3"><play text="d" text2="x" yds="4"/></qtr>)");
    ASSERT_EQ(game.plays.size(), 4u);
    const std::vector<std::string> texts = {game.plays[0].text, game.plays[1].text,
                                            game.plays[2].text, game.plays[3].text};
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(game.plays[1].drive, 7);
    EXPECT_EQ(game.plays[2].quarter, "2");
    EXPECT_EQ(game.plays[3].quarter, "3") << "a second plays element is read too";
    EXPECT_EQ(game.plays[3].yds, "4");
    EXPECT_FALSE(game.plays[0].yds);
}

TEST(DerivedDrives, OneDrivePerDriveNumberFromThePlays)
{
    const GamePlays game = playsOf(twoDrives);
    const std::vector<DriveRecordFields> drives = DeriveDrives(game, DerivePlayYards(game));
    ASSERT_EQ(drives.size(), 4u);
    const DriveRecordFields &first = drives[0];
    EXPECT_EQ(first.driveIndex, 1);
    EXPECT_EQ(first.vh, "V") << "the kicking team's context does not make the drive its own";
    EXPECT_EQ(first.plays, "6") << "rushes and passes, not the kick, penalty or quarter line";
    EXPECT_EQ(first.start.spot, "25");
    EXPECT_EQ(first.start.quarter, "1");
    EXPECT_EQ(first.end.quarter, "2");
    EXPECT_EQ(first.end.spot, "63") << "a punt ends the drive where it was kicked from";
    EXPECT_EQ(first.yards, "38");
    EXPECT_EQ(first.start.time, "15:00");
    EXPECT_EQ(first.end.time, "12:01") << "the next drive's first clock";
    EXPECT_EQ(first.start.how, "KO");
    EXPECT_EQ(first.end.how, "PUNT");
    EXPECT_EQ(first.top, "17:59");

    const DriveRecordFields &second = drives[1];
    EXPECT_EQ(second.vh, "H");
    EXPECT_EQ(second.start.spot, "7");
    EXPECT_EQ(second.end.spot, "100") << "a touchdown ends the drive; what follows does not count";
    EXPECT_EQ(second.end.how, "TD");
    EXPECT_EQ(second.yards, "93");

    const DriveRecordFields &third = drives[2];
    EXPECT_EQ(third.vh, "V");
    EXPECT_EQ(third.end.spot, "0") << "a safety, not the free kick after it";
    EXPECT_EQ(third.yards, "-2");
    EXPECT_EQ(third.plays, "0");
    EXPECT_EQ(third.end.how, "SAF");
    EXPECT_EQ(drives[3].start.how, "KO") << "the free kick after the safety";
    EXPECT_EQ(drives[3].end.how, "FG");

    EXPECT_EQ(drives[3].end.spot, "85") << "where the kick was tried, not the kickoff after it";
    EXPECT_EQ(drives[3].yards, "5");
}

TEST(DerivedDrives, OnlyWhenTheFileHasNoDriveRecords)
{
    ScratchDirectory dir;
    CGameDocument document;
    const std::string plays = std::string("<plays>") + twoDrives + "</plays>";
    ASSERT_TRUE(document.Open(dir.Write("a.xml", "<fbgame>" + plays + "</fbgame>")));
    const GameDrives derived = DrivesWithoutRecords(document);
    EXPECT_TRUE(derived.derived);
    EXPECT_EQ(derived.drives.size(), 4u);

    ASSERT_TRUE(document.Open(dir.Write(
        "b.xml", "<fbgame><drives><drive driveindex=\"1\"/></drives>" + plays + "</fbgame>")));
    EXPECT_FALSE(DrivesWithoutRecords(document).derived);
    ASSERT_TRUE(document.Open(dir.Write("c.xml", "<fbgame><plays/></fbgame>")));
    EXPECT_FALSE(DrivesWithoutRecords(document).derived) << "no plays, nothing to derive";
}
