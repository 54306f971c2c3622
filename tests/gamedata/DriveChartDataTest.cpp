#include "gamedata/CDriveChartData.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"

#include "../support/ScratchDirectory.h"
#include "../support/TestTeams.h"

#include <array>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>
#include <malloc.h>
#include <new>
#include <sstream>

namespace
{

// Allocations left before one fails; -1 never. Lets a test make the n-th
// allocation of a load fail, for every n.
std::atomic<long> allocationsBeforeFailure{-1};

} // namespace

// The replacements below pair malloc with free; the compiler, seeing free
// inlined after operator new, cannot tell they are a pair.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void *operator new(std::size_t size)
{
    if (allocationsBeforeFailure.load() >= 0 && allocationsBeforeFailure.fetch_sub(1) == 0)
        throw std::bad_alloc();
    if (void *memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}
void operator delete(void *memory) noexcept
{
    std::free(memory);
}
void operator delete(void *memory, std::size_t) noexcept
{
    std::free(memory);
}
#pragma GCC diagnostic pop

namespace
{

// A game with four drives over two quarters:
//   1 home     q1  20 -> 65 (scored)    2 visitor  q1  20 -> 30
//   3 home     q2  30 -> 25             4 visitor  q2  has no drives entry
const char *const driveGame = R"(<fbgame>
  <venue><rules qtrs="4" field="100"/></venue>
  <team vh="H" name="Home" id="HOM" record=""><totals/></team>
  <team vh="V" name="Away" id="AWY" record=""><totals/></team>
  <scores><score type="FG" vh="H" qtr="1" driveindex="1"/><score type="TD" qtr="0" driveindex="2"/></scores>
  <drives>
    <drive driveindex="1" vh="H" plays="9" yards="45" top="04:12" start="KO,1,15:00,20" end="FG,1,10:48,65"/>
    <drive driveindex="2" vh="V" plays="3" yards="10" top="01:30" start="PUNT,1,10:40,20" end="PUNT,1,09:10,30"/>
    <drive driveindex="3" vh="H" plays="3" yards="-5" top="02:00" start="PUNT,2,14:00,30" end="DOWNS,2,12:00,25"/>
  </drives>
  <plays>
    <qtr number="1">
      <drivestart driveindex="1,1" vh="H" spot="H20" clock="15:00"/>
      <play playid="1,1,1" context="H,1,10,H20" type="R" yds="5" text="Run one." clock="14:30"/>
      <play playid="1,2,2" context="H,2,5,H25" type="P" yds="0" text="Pass incomplete."/>
      <play playid="1,3,3" context="H,3,5,H25" type="X" text="Not drawn."/>
      <play playid="1,4,4" context="H,3,5,H50" type="E" yds="-5" text="Penalty at midfield."/>
      <play playid="1,5,5" context="V,1,10,V50" type="R" yds="2" text="Visitor run at midfield."/>
      <drivestart driveindex="2,1" vh="V" spot="V20" clock="10:40"/>
      <play playid="2,1,6" context="V,1,10,H35" type="R" yds="5" text="Visitor run on the home 35."/>
    </qtr>
    <qtr number="2">
      <drivestart driveindex="3,1" vh="H" spot="H30" clock="14:00"/>
      <drivestart driveindex="4,1" vh="V" spot="V30" clock="11:00"/>
    </qtr>
  </plays>
</fbgame>)";

class DriveChartDataTest : public testing::Test
{
protected:
    void SetUp() override { Open(driveGame); }
    void Open(const std::string &xml)
    {
        ASSERT_TRUE(document_.Open(dir_.Write("game.xml", xml))) << document_.LastError();
        teams_[0].SetSide('H');
        teams_[1].SetSide('V');
        teams_[0].LoadGame(document_);
        teams_[1].LoadGame(document_);
    }
    void Load() { data_ = CDriveChartData::Load(document_, teams_, filter_, data_); }
    std::vector<int> driveIndexes() const
    {
        std::vector<int> indexes;
        for (int i = 0; i < data_.count(); ++i)
            indexes.push_back(data_.item(i).driveIndex);
        return indexes;
    }

    ScratchDirectory dir_;
    CGameDocument document_;
    std::array<CTeamStats, 2> teams_;
    DriveFilter filter_;
    CDriveChartData data_;
};

} // namespace

TEST_F(DriveChartDataTest, FiltersByQuarterTeamAndScoring)
{
    Load();
    EXPECT_EQ(driveIndexes(), (std::vector{1, 2, 3})) << "drive 4 has no drives entry";
    filter_.quarter = 2;
    filter_.homeOnly = true;
    Load();
    EXPECT_EQ(driveIndexes(), (std::vector{3}));
    filter_.quarter = 0;
    filter_.visitorOnly = true; // both set: no team filter
    Load();
    EXPECT_EQ(driveIndexes(), (std::vector{1, 2, 3}));
    filter_.homeOnly = false;
    Load();
    EXPECT_EQ(driveIndexes(), (std::vector{2}));
    filter_.visitorOnly = false;
    filter_.scoringOnly = true;
    Load();
    EXPECT_EQ(driveIndexes(), (std::vector{1})) << "a score in quarter 0 does not count";
}

// A drive is the first drive element of its index, and its score the first
// score of that index that gives a quarter, both in file order.
TEST_F(DriveChartDataTest, DrivesAndScoresAreTheFirstOfTheirIndex)
{
    Open(R"(<fbgame><scores><score driveindex="1"/><score driveindex="1" qtr="2"/>
        <score driveindex="2" qtr=""/><score driveindex="2" qtr="3"/><score qtr="1"/></scores>
      <drives><drive vh="H" plays="0"/><drive driveindex="2" vh="H" plays="2"/>
        <drive driveindex="1" vh="V" plays="1"/><drive driveindex="2" vh="V" plays="99"/></drives>
      <drives><drive driveindex="3" vh="H" plays="3"/></drives>
      <plays><qtr number="1"><drivestart driveindex="2,1"/><drivestart driveindex="1,1"/>
        <drivestart driveindex="3,1"/><drivestart driveindex="0,1"/></qtr></plays></fbgame>)");
    Load();
    EXPECT_EQ(driveIndexes(), (std::vector{2, 1, 3})) << "a drive without an index is no drive 0";
    EXPECT_EQ(data_.item(0).plays, "2");
    EXPECT_EQ(data_.item(0).team, 0);
    EXPECT_EQ(data_.item(1).team, 1);
    EXPECT_EQ(data_.item(2).plays, "3") << "drives of a second drives element count too";
    filter_.scoringOnly = true;
    Load();
    EXPECT_EQ(driveIndexes(), (std::vector{1})) << "drive 2's first quarter is empty";
}

TEST_F(DriveChartDataTest, DrivePositionsSpotsAndColours)
{
    Load();
    ASSERT_EQ(data_.count(), 3);
    EXPECT_EQ(data_.fieldLength(), 100);
    EXPECT_EQ(data_.GetShortName(0), "HOM");
    EXPECT_EQ(data_.GetShortName(1), "AWY");

    const CChartItem &home = data_.item(0);
    EXPECT_EQ(home.team, 0);
    EXPECT_EQ(home.lowYard, 20);
    EXPECT_EQ(home.highYard, 65);
    EXPECT_EQ(home.reversed, 0);
    EXPECT_EQ(home.lostGround, 0);
    EXPECT_EQ(home.startSpot, "20");
    EXPECT_EQ(home.endSpot, "V35");
    EXPECT_EQ(home.startHow, "KO");
    EXPECT_EQ(home.startQtr, "1");
    EXPECT_EQ(home.startTime, "15:00");
    EXPECT_EQ(home.endHow, "FG");
    EXPECT_EQ(home.endTime, "10:48");
    EXPECT_EQ(home.plays, "9");
    EXPECT_EQ(home.top, "04:12");
    EXPECT_EQ(home.fillColor, RGB(255, 255, 255));
    EXPECT_EQ(home.outlineColor, RGB(0, 0, 0));

    const CChartItem &visitor = data_.item(1);
    EXPECT_EQ(visitor.team, 1);
    EXPECT_EQ(visitor.lowYard, 70);
    EXPECT_EQ(visitor.highYard, 80);
    EXPECT_EQ(visitor.reversed, 1);
    EXPECT_EQ(visitor.lostGround, 0) << "the visitor moved toward the home goal line";
    EXPECT_EQ(visitor.fillColor, RGB(128, 128, 128));

    const CChartItem &backwards = data_.item(2);
    EXPECT_EQ(backwards.lowYard, 25);
    EXPECT_EQ(backwards.highYard, 30);
    EXPECT_EQ(backwards.reversed, 1);
    EXPECT_EQ(backwards.lostGround, 1);
    EXPECT_EQ(backwards.outlineColor, RGB(255, 0, 0));
}

TEST_F(DriveChartDataTest, PlaysOfOneDrive)
{
    filter_.playsOfDrive = 1;
    Load();
    EXPECT_TRUE(data_.playsMode());
    EXPECT_EQ(data_.playsDrive(), 1);
    ASSERT_EQ(data_.count(), 4) << "the try (type X) is left out";
    const CChartItem &run = data_.item(0);
    EXPECT_EQ(run.startHow, "Run one.");
    EXPECT_EQ(run.startTime, "14:30");
    EXPECT_EQ(run.startQtr, "1");
    EXPECT_EQ(run.top, "1-10");
    EXPECT_EQ(run.lowYard, 20);
    EXPECT_EQ(run.highYard, 25);
    EXPECT_EQ(run.fillColor, data_.colorR);
    EXPECT_EQ(run.outlineColor, RGB(0, 0, 0));
    EXPECT_EQ(run.startSpot, "HOM20");

    const CChartItem &incomplete = data_.item(1);
    EXPECT_EQ(incomplete.fillColor, data_.colorP);
    EXPECT_EQ(incomplete.lostGround, 1);
    EXPECT_EQ(incomplete.outlineColor, RGB(255, 0, 0));
    EXPECT_EQ(incomplete.startTime, "") << "a play without a clock has no time, not 0";

    // At exactly midfield the label names the offense's own team.
    EXPECT_EQ(data_.item(2).startSpot, "HOM50");
    EXPECT_EQ(data_.item(2).fillColor, data_.colorE);
    EXPECT_EQ(data_.item(3).startSpot, "AWY50");

    filter_.playsOfDrive = 2;
    Load();
    ASSERT_EQ(data_.count(), 1);
    const CChartItem &visitorRun = data_.item(0);
    EXPECT_EQ(visitorRun.team, 1);
    EXPECT_EQ(visitorRun.startSpot, "HOM35");
    EXPECT_EQ(visitorRun.lowYard, 30);
    EXPECT_EQ(visitorRun.highYard, 35);
    EXPECT_EQ(visitorRun.reversed, 1);
    EXPECT_EQ(visitorRun.lostGround, 0);

    filter_.playsOfDrive = -3;
    Load();
    EXPECT_FALSE(data_.playsMode()) << "a negative drive lists the drives";
    EXPECT_EQ(data_.playsDrive(), 0);
    EXPECT_FALSE(data_.playsMode());
    EXPECT_EQ(data_.count(), 3);
}

TEST_F(DriveChartDataTest, MissingFieldLengthAndIncompleteEnds)
{
    Open(R"(<fbgame><drives>
        <drive driveindex="1" vh="V" start="KO,1,15:00,20" end="TD,1,12:00,100"/>
        <drive driveindex="2" vh="H" start="KO,1,12:00,25"/>
        <drive driveindex="3" vh="H" start=",1,10:00,20" end="PUNT,1,9:00"/></drives>
      <plays><qtr number="1"><drivestart driveindex="1"/><drivestart driveindex="2,7"/>
        <drivestart driveindex="3"/></qtr></plays></fbgame>)");
    Load();
    ASSERT_EQ(data_.count(), 3);
    EXPECT_EQ(data_.fieldLength(), 0);
    EXPECT_EQ(data_.item(0).lowYard, -100) << "visitor positions come out negative";
    EXPECT_EQ(data_.item(0).highYard, -20);
    EXPECT_EQ(data_.item(0).plays, "0");
    EXPECT_EQ(data_.item(0).endSpot, "H-100");

    const CChartItem &running = data_.item(1);
    EXPECT_EQ(running.driveIndex, 2);
    EXPECT_EQ(running.lowYard, 25) << "a drive without an end is drawn from its start";
    EXPECT_EQ(running.highYard, 25);
    EXPECT_EQ(running.endHow, "");

    const CChartItem &broken = data_.item(2);
    EXPECT_EQ(broken.startHow, "") << "a comma at the very start ends the split";
    EXPECT_EQ(broken.startSpot, "");
    EXPECT_EQ(broken.endHow, "PUNT");
    EXPECT_EQ(broken.endQtr, "1");
    EXPECT_EQ(broken.endTime, "") << "the time ends at a third comma that is missing";
    EXPECT_EQ(broken.endSpot, "");
}

// Numbers beyond any field stay in order instead of wrapping around, and are
// placed no farther than the chart can compute pixels for.
TEST_F(DriveChartDataTest, HugeYardNumbersStayInOrderAndInRange)
{
    constexpr int farthest = CDriveChartData::farthestYard;
    Open(R"(<fbgame><venue><rules field="100"/></venue><drives>
        <drive driveindex="1" vh="V" start="KO,1,15:00,-2147483648" end="TD,1,12:00,99"/>
        <drive driveindex="2" vh="H" start="KO,2,15:00,2147483647" end="TD,2,12:00,2147483647"/></drives>
      <plays><qtr number="1"><drivestart driveindex="1"/>
        <play playid="1,1,1" context="H,1,10,H20" type="R" yds="99999999999"/>
        <play playid="1,2,2" context="V,1,10,H-2147483648" type="P" yds="5"/>
        <drivestart driveindex="2"/></qtr></plays>
      </fbgame>)");
    Load();
    ASSERT_EQ(data_.count(), 2);
    EXPECT_EQ(data_.item(0).lowYard, 1);
    EXPECT_EQ(data_.item(0).highYard, farthest);
    EXPECT_EQ(data_.item(0).reversed, 1);
    EXPECT_EQ(data_.item(1).lowYard, farthest) << "a spot far past the visitor's goal line";
    EXPECT_EQ(data_.item(1).highYard, farthest);

    filter_.playsOfDrive = 1;
    Load();
    ASSERT_EQ(data_.count(), 2);
    EXPECT_EQ(data_.item(0).lowYard, 20);
    EXPECT_EQ(data_.item(0).highYard, farthest);
    EXPECT_EQ(data_.item(0).reversed, 0);
    EXPECT_EQ(data_.item(1).lowYard, -farthest) << "the ball is past the far goal line";
    EXPECT_EQ(data_.item(1).highYard, -farthest);
}

TEST_F(DriveChartDataTest, FailedSelectionKeepsThePreviousList)
{
    Load();
    ASSERT_EQ(data_.count(), 3);
    document_.ReleaseDocument();
    Load();
    EXPECT_EQ(data_.count(), 3);
    EXPECT_EQ(data_.item(0).driveIndex, 1);
}

TEST(DriveChartDataSample, TheSampleGameHasItsFourDrives)
{
    CGameDocument document;
    ASSERT_TRUE(document.Open(PYLONIX_SAMPLES_DIR "/small/game.xml"));
    const std::array<CTeamStats, 2> teams = TeamsOf(document);
    CDriveChartData data = CDriveChartData::Load(document, teams, DriveFilter{});
    ASSERT_EQ(data.count(), 4);
    EXPECT_EQ(data.item(2).lowYard, 0) << "visitor touchdown drive reaches the home goal line";
    EXPECT_EQ(data.item(2).highYard, 75);
    data = CDriveChartData::Load(document, teams, DriveFilter{.playsOfDrive = 3});
    EXPECT_EQ(data.count(), 6) << "the try after the touchdown is not drawn";
}

namespace
{

// Every value the list holds, as one text to compare.
std::string describe(const CDriveChartData &data)
{
    std::ostringstream out;
    out << data.fieldLength() << ' ' << data.GetShortName(0) << ' ' << data.GetShortName(1) << ' '
        << data.count() << '\n';
    for (int i = 0; i < data.count(); ++i) {
        const CChartItem &e = data.item(i);
        out << e.team << ',' << e.lowYard << ',' << e.highYard << ',' << e.driveIndex << ','
            << e.reversed << ',' << e.lostGround << ',' << e.startSpot << ',' << e.endSpot << ','
            << e.startTime << ',' << e.endTime << ',' << e.startHow << ',' << e.endHow << ','
            << e.startQtr << ',' << e.endQtr << ',' << e.plays << ',' << e.yards << ',' << e.top
            << ',' << e.fillColor << ',' << e.outlineColor << '\n';
    }
    return out.str();
}

// Bytes the program has allocated and not yet freed.
size_t allocatedBytes()
{
    return mallinfo2().uordblks;
}

} // namespace

// Thousands of drive starts referring to one drive whose "end" is a mebibyte
// long: each entry may not hold its own copy, and none is written out whole.
TEST_F(DriveChartDataTest, ManyStartsOfOneHugeDriveStayCheap)
{
    const std::string hugeHow(1 << 20, 'x');
    std::string xml = R"(<fbgame><venue><rules field="100"/></venue><drives>
        <drive driveindex="1" vh="H" plays="3" yards="5" top="01:00" start="KO,1,15:00,20" end=")" +
                      hugeHow + R"(,1,12:00,30"/></drives><plays><qtr number="1">)";
    constexpr int starts = 4000;
    for (int i = 0; i < starts; ++i)
        xml += R"(<drivestart driveindex="1,1"/>)";
    xml += "</qtr></plays></fbgame>";
    Open(xml);

    const size_t before = allocatedBytes();
    Load();
    const size_t held = allocatedBytes() - before;
    ASSERT_EQ(data_.count(), starts);
    for (int i : {0, starts - 1}) {
        const CChartItem &entry = data_.item(i);
        EXPECT_EQ(entry.endHow.size(), CChartItem::maxReferencedText);
        EXPECT_EQ(entry.endHow, hugeHow.substr(0, CChartItem::maxReferencedText));
        EXPECT_EQ(entry.endSpot, "30");
        EXPECT_EQ(entry.startHow, "KO");
        EXPECT_EQ(entry.highYard, 30);
    }
#if !defined(__SANITIZE_ADDRESS__)
    // Copies would hold 4000 x 64 bytes of "end" alone, plus string headers.
    EXPECT_LT(held, size_t{starts} * 400) << "bytes held by the list";
#else
    (void)held; // the sanitizer keeps its own heap
#endif
}

// Plays share their quarter's number and a team's short name is cut, while a
// play's own text, which no other entry repeats, stays whole.
TEST_F(DriveChartDataTest, PlaysCutOnlyTheTextsTheyShare)
{
    const std::string hugeNumber = "1" + std::string(100000, '0');
    const std::string longText(5000, 't');
    // A short name of "é" repeated: the cut may not split a character.
    std::string shortName;
    for (int i = 0; i < 40; ++i)
        shortName += "\xc3\xa9";
    std::string xml = R"(<fbgame><venue><rules field="100"/></venue>
        <team vh="H" id=")" +
                      shortName +
                      R"(" name="Home" record=""><totals/></team>
        <plays><qtr number=")" +
                      hugeNumber + R"(">)";
    for (int i = 0; i < 500; ++i)
        xml += R"(<play playid="1,1,1" context="H,1,10,H20" type="R" yds="5" text=")" + longText +
               R"("/>)";
    xml += "</qtr></plays></fbgame>";
    Open(xml);
    filter_.playsOfDrive = 1;
    Load();
    ASSERT_EQ(data_.count(), 500);
    const CChartItem &last = data_.item(499);
    EXPECT_EQ(last.startHow, longText);
    EXPECT_EQ(last.startQtr, hugeNumber.substr(0, CChartItem::maxReferencedText));
    EXPECT_EQ(last.startSpot, shortName.substr(0, 64) + "20")
        << "64 bytes end between two characters";
    EXPECT_EQ(CChartItem::Text::Bounded(shortName, 63), shortName.substr(0, 62))
        << "63 bytes would end inside a character";
}

// Whichever allocation of a load fails, the list, the short names and the
// field length stay those of the previous load, so the window can keep
// showing the previous game.
TEST_F(DriveChartDataTest, ALoadThatRunsOutOfMemoryKeepsThePreviousList)
{
    CGameDocument other;
    ASSERT_TRUE(other.Open(PYLONIX_SAMPLES_DIR "/small/game.xml"));
    std::array<CTeamStats, 2> otherTeams;
    otherTeams[0].SetSide('H');
    otherTeams[1].SetSide('V');
    otherTeams[0].LoadGame(other);
    otherTeams[1].LoadGame(other);

    for (const int playsOf : {-1, 2}) {
        if (playsOf >= 0)
            filter_.playsOfDrive = playsOf;
        Load();
        const std::string previous = describe(data_);
        int failures = 0;
        for (long n = 0;; ++n) {
            allocationsBeforeFailure = n;
            try {
                data_ = CDriveChartData::Load(other, otherTeams, filter_, data_);
                allocationsBeforeFailure = -1;
                break;
            } catch (const std::bad_alloc &) {
                allocationsBeforeFailure = -1;
                ++failures;
                ASSERT_EQ(describe(data_), previous) << "allocation " << n;
            }
        }
        EXPECT_GT(failures, 10);
        EXPECT_NE(describe(data_), previous) << "the load that succeeded replaced the list";
        EXPECT_EQ(data_.GetShortName(1), "PAM");
    }
}

namespace
{

// Plays without drive records, and some without yards:
//   1 home     q1     25 -> 37: a rush, a pass told in words, a penalty, a fumble
//   2 visitor  q1-q2  own 63 -> own 64: changes quarter, ends in a punt
//   3 home     q2     2 -> 0: a safety
const char *const playsOnlyGame = R"(<fbgame>
  <venue><rules qtrs="4" field="100"/></venue>
  <team vh="H" name="Home" id="HOM" record=""><totals/></team>
  <team vh="V" name="Away" id="AWY" record=""><totals/></team>
  <plays>
    <qtr number="1">
      <play playid="1,0,1" context="V,0,0,V35" type="K" text="Kickoff 65 yards, returned to the HOM25."/>
      <play playid="1,1,2" context="H,1,10,H25" type="R" yds="6" text="Run for 6 yards." clock="14:40"/>
      <play playid="1,2,3" context="H,2,4,H31" type="P" text="Pass complete for 12 yards." clock="14:00"/>
      <play playid="1,3,4" context="H,1,10,H43" type="E" text="PENALTY HOM holding 10 yards."/>
      <play playid="1,4,5" context="H,1,20,H33" type="R" text="Run for 4 yards, fumble, recovered by AWY."/>
      <play playid="2,1,6" context="V,1,10,H37" type="R" yds="3" text="Run for 3 yards." clock="00:20"/>
    </qtr>
    <qtr number="2">
      <play playid="2,2,7" context="V,2,7,H34" type="P" text="Pass incomplete." clock="15:00"/>
      <play playid="2,3,8" context="V,3,7,H34" type="R" text="Run for loss of 2 yards."/>
      <play playid="2,4,9" context="V,4,9,H36" type="U" text="Punt 40 yards."/>
      <play playid="3,1,10" context="H,1,10,H2" type="R" text="Run for loss of 3 yards, SAFETY." clock="10:00"/>
    </qtr>
  </plays>
</fbgame>)";

} // namespace

// A file with plays but no drive records lists the drives its plays tell of,
// marked derived, with how each started and ended.
TEST_F(DriveChartDataTest, DrivesWorkedOutFromThePlays)
{
    Load();
    EXPECT_FALSE(data_.derived()) << "the file's own drive records";
    EXPECT_TRUE(data_.hasDrivesOrPlays());

    Open(playsOnlyGame);
    Load();
    EXPECT_TRUE(data_.derived());
    ASSERT_EQ(driveIndexes(), (std::vector{1, 2, 3}));
    const CChartItem &first = data_.item(0);
    EXPECT_EQ(first.team, 0);
    EXPECT_EQ(first.lowYard, 25);
    EXPECT_EQ(first.highYard, 37) << "the fumbled run's 4 yards, told in words, count";
    EXPECT_EQ(first.plays, "3") << "the penalty is not a play of the drive";
    EXPECT_EQ(first.yards, "12");
    EXPECT_EQ(first.startQtr, "1");
    EXPECT_EQ(first.startTime, "14:40");
    EXPECT_EQ(first.endTime, "00:20") << "when the next drive started";
    EXPECT_EQ(first.startHow, "KO");
    EXPECT_EQ(first.endHow, "FUMB");
    EXPECT_EQ(first.top, "14:20");

    const CChartItem &second = data_.item(1);
    EXPECT_EQ(second.team, 1);
    EXPECT_EQ(second.startSpot, "H37");
    EXPECT_EQ(second.endSpot, "H36");
    EXPECT_EQ(second.startQtr, "1");
    EXPECT_EQ(second.endQtr, "2");
    EXPECT_EQ(second.startHow, "FUMB");
    EXPECT_EQ(second.endHow, "PUNT");
    EXPECT_EQ(second.lowYard, 36);
    EXPECT_EQ(second.highYard, 37);

    const CChartItem &safety = data_.item(2);
    EXPECT_EQ(safety.lowYard, 0);
    EXPECT_EQ(safety.highYard, 2);
    EXPECT_EQ(safety.yards, "-2");
    EXPECT_EQ(safety.endHow, "SAF");
    EXPECT_EQ(safety.outlineColor, RGB(255, 0, 0));

    filter_.quarter = 2;
    Load();
    EXPECT_EQ(driveIndexes(), (std::vector{2, 3})) << "drive 2 runs into quarter 2";
    filter_.quarter = 1;
    filter_.visitorOnly = true;
    Load();
    EXPECT_EQ(driveIndexes(), (std::vector{2}));

    Open("<fbgame><venue><rules field=\"100\"/></venue></fbgame>");
    filter_ = DriveFilter();
    Load();
    EXPECT_FALSE(data_.derived());
    EXPECT_FALSE(data_.hasDrivesOrPlays());
    EXPECT_EQ(data_.count(), 0);
}

// The plays of a drive without yards of their own take the yards their text
// tells, marked as worked out; a penalty that tells none shows no number.
TEST_F(DriveChartDataTest, PlaysWithoutYardsOfTheirOwn)
{
    Open(playsOnlyGame);
    filter_.playsOfDrive = 1;
    Load();
    ASSERT_EQ(data_.count(), 4) << "the kickoff is not a drawn play";
    EXPECT_EQ(data_.item(0).yards, "6");
    EXPECT_FALSE(data_.item(0).yardsDerived);

    const CChartItem &pass = data_.item(1);
    EXPECT_EQ(pass.yards, "12");
    EXPECT_TRUE(pass.yardsDerived);
    EXPECT_EQ(pass.lowYard, 31);
    EXPECT_EQ(pass.highYard, 43);
    EXPECT_EQ(pass.lostGround, 0);

    const CChartItem &penalty = data_.item(2);
    EXPECT_TRUE(penalty.yards.empty());
    EXPECT_FALSE(penalty.yardsDerived);
    EXPECT_EQ(penalty.lostGround, 1);
    EXPECT_EQ(penalty.lowYard, penalty.highYard);

    EXPECT_EQ(data_.item(3).yards, "4") << "the fumbled run";

    filter_.playsOfDrive = 2;
    Load();
    ASSERT_EQ(data_.count(), 3);
    EXPECT_EQ(data_.item(2).yards, "-2");
    EXPECT_EQ(data_.item(2).outlineColor, RGB(255, 0, 0));
    EXPECT_EQ(data_.item(2).reversed, 0) << "the visitor lost ground toward its own goal";
}
