#include "gamedata/DerivedDrives.h"
#include "gamedata/CGameDocument.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace
{

// Eleven drives of a first half and the start of the third quarter, each
// begun and ended another way; the kickoff of the second half comes in a
// drive number of its own. "p" makes a play: drive number, context, type,
// yards, text and clock.
std::string p(int drive, const char *context, const char *type, const char *yards, const char *text,
              const std::string &clock = "")
{
    return "<play playid=\"" + std::to_string(drive) + ",1,1\" context=\"" + context +
           "\" type=\"" + type + "\" yds=\"" + yards + "\" text=\"" + text + "\"" +
           (clock.empty() ? "" : " clock=\"" + clock + "\"") + "/>";
}

std::string firstHalfAndMore()
{
    return "<qtr number=\"1\">" + p(1, "V,0,0,V35", "K", "65", "Z kickoff, touchback.", "15:00") +
           p(1, "H,1,10,H25", "R", "5", "A rush for 5 yards", "14:55") +
           p(1, "H,2,5,H30", "P", "0", "B pass incomplete") +
           p(1, "H,3,5,H30", "P", "3", "B pass complete for 3 yards") +
           p(1, "H,4,2,H33", "U", "40", "C punt 40 yards to the AM27", "13:20") +
           p(2, "V,1,10,V27", "R", "4", "D rush for 4 yards", "13:10") +
           p(2, "V,2,6,V31", "P", "20", "E pass complete for 20 yards") +
           "</qtr><qtr number=\"2\">" +
           p(2, "V,1,10,H49", "#", "0", "Start of 2nd quarter", "15:00") +
           p(2, "V,1,10,H49", "P", "0", "E pass intercepted by F, F return 5 yards", "14:40") +
           p(3, "H,1,10,H45", "R", "2",
             "G rush for 2 yards, fumble by G recovered by AM Y at the HB47.", "14:30") +
           p(4, "V,1,10,H47", "R", "1", "H rush for 1 yard", "14:00") +
           p(4, "V,2,9,H46", "R", "1", "H rush for 1 yard") +
           p(4, "V,3,8,H45", "P", "0", "I pass incomplete") +
           p(4, "V,4,8,H45", "P", "0", "I pass incomplete") +
           p(5, "H,1,10,H45", "P", "30", "J pass complete for 30 yards", "12:00") +
           p(5, "H,1,10,V25", "F", "0", "K field goal attempt NO GOOD wide left", "11:40") +
           p(6, "V,1,10,V25", "R", "75", "L rush for 75 yards, TOUCHDOWN", "11:35") +
           p(6, "V,1,3,H3", "X", "0", "M kick attempt good.") +
           p(7, "V,0,0,V35", "K", "60", "N kickoff 60 yards, O return 5 yards.", "11:30") +
           p(7, "H,1,10,H10", "P", "-10", "P sacked for loss of 10 yards, SAFETY", "11:20") +
           p(8, "H,0,0,H20", "K", "50", "Q free kick 50 yards.", "11:15") +
           p(8, "V,1,10,V30", "P", "50", "R pass complete for 50 yards", "11:10") +
           p(8, "V,1,10,H20", "F", "0", "S field goal attempt GOOD", "10:00") +
           p(9, "V,0,0,V35", "K", "65", "Z kickoff, touchback.", "09:55") +
           p(9, "H,1,10,H25", "R", "3", "T rush for 3 yards", "00:20") +
           p(9, "H,2,7,H28", "R", "2", "T rush for 2 yards") + "</qtr><qtr number=\"3\">" +
           p(0, "H,0,0,H35", "K", "65", "Y kickoff, touchback.", "15:00") +
           p(10, "V,1,10,V25", "R", "6", "U rush for 6 yards", "14:30") +
           p(11, "H,1,10,V31", "R", "4", "V rush for 4 yards", "14:00") + "</qtr>";
}

std::vector<std::string> fieldsOf(const DriveRecordFields &drive)
{
    return {drive.vh,        drive.plays,         drive.yards,      drive.top,
            drive.start.how, drive.start.quarter, drive.start.time, drive.start.spot,
            drive.end.how,   drive.end.quarter,   drive.end.time,   drive.end.spot};
}

} // namespace

TEST(DerivedDrives, HowWhenAndWhereEveryKindOfDriveStartsAndEnds)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write(
        "game.xml", R"(<fbgame><venue end="" duration=""><rules qtrs="4" field="100"/></venue>
        <team vh="H" id="HB"/><team vh="V" id="AM"/><plays>)" +
                        firstHalfAndMore() + "</plays></fbgame>")));
    const GameDrives derived = DrivesWithoutRecords(document);
    ASSERT_EQ(derived.drives.size(), 11u) << "the lone kickoff is no drive";
    using Fields = std::vector<std::string>;
    // vh, plays, yards, top, start how, quarter, time, spot, end how, quarter, time, spot
    const std::vector<Fields> expected = {
        {"H", "3", "8", "01:50", "KO", "1", "15:00", "25", "PUNT", "1", "13:10", "33"},
        {"V", "3", "24", "13:40", "PUNT", "1", "13:10", "27", "INT", "2", "14:30", "51"},
        {"H", "1", "2", "00:30", "INT", "2", "14:30", "45", "FUMB", "2", "14:00", "47"},
        {"V", "4", "2", "02:00", "FUMB", "2", "14:00", "53", "DOWNS", "2", "12:00", "55"},
        {"H", "1", "30", "00:25", "DOWNS", "2", "12:00", "45", "FGA", "2", "11:35", "75"},
        {"V", "1", "75", "00:05", "FGA", "2", "11:35", "25", "TD", "2", "11:30", "100"},
        {"H", "1", "-10", "00:15", "KO", "2", "11:30", "10", "SAF", "2", "11:15", "0"},
        {"V", "1", "50", "01:20", "KO", "2", "11:15", "30", "FG", "2", "09:55", "80"},
        {"H", "2", "5", "09:55", "KO", "2", "09:55", "25", "HALF", "2", "00:00", "30"},
        {"V", "1", "6", "01:00", "KO", "3", "15:00", "25", "POSS", "3", "14:00", "31"},
        {"H", "1", "4", "00:00", "POSS", "3", "14:00", "69", "", "3", "14:00", "73"},
    };
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(derived.drives[k].driveIndex, static_cast<int>(k) + 1);
        EXPECT_EQ(fieldsOf(derived.drives[k]), expected[k]) << "drive " << k + 1;
    }
}
