// Drives worked out from the plays against the drive records the simulator
// writes for the same games: the records are taken out of the file and the
// drives derived from what is left are compared with them field by field.
// What the records hold that the plays cannot tell: a drive with no play of
// its own (the ball given up as a half runs out), and a drive that began as a
// quarter ran out, whose first play comes at the start of the next.

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/DerivedDrives.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>

using namespace pylonix::feed;

namespace
{

constexpr std::array<const char *, 12> kFields = {
    "vh",         "plays",      "yards",   "top",         "start.how", "start.quarter",
    "start.time", "start.spot", "end.how", "end.quarter", "end.time",  "end.spot"};

std::array<std::string, 12> fieldsOf(const DriveRecordFields &drive)
{
    return {drive.vh,        drive.plays,         drive.yards,      drive.top,
            drive.start.how, drive.start.quarter, drive.start.time, drive.start.spot,
            drive.end.how,   drive.end.quarter,   drive.end.time,   drive.end.spot};
}

// "KO,1,15:00,25" as its four fields.
DriveMarkFields markOf(const std::string &text)
{
    DriveMarkFields mark;
    std::array<std::string *, 4> fields = {&mark.how, &mark.quarter, &mark.time, &mark.spot};
    std::size_t from = 0;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const std::size_t comma = k + 1 < fields.size() ? text.find(',', from) : std::string::npos;
        *fields[k] = text.substr(from, comma - from);
        if (comma == std::string::npos)
            break;
        from = comma + 1;
    }
    return mark;
}

// The simulator names the start of an overtime possession "OT" and the end
// of a game "GAME"; the stats program's codes for them are POSS and HALF.
std::string statsCode(const std::string &how)
{
    if (how == "OT")
        return "POSS";
    if (how == "GAME")
        return "HALF";
    return how;
}

std::vector<DriveRecordFields> recordsOf(const CGameDocument &document)
{
    std::vector<DriveRecordFields> records;
    const auto nodes = document.SelectNodes("/fbgame/drives/drive");
    for (const CXmlNode node : nodes.value()) {
        DriveRecordFields record;
        record.driveIndex = std::stoi(document.GetNodeText(node, "@driveindex", "0"));
        record.vh = document.GetNodeText(node, "@vh", "");
        record.plays = document.GetNodeText(node, "@plays", "");
        record.yards = document.GetNodeText(node, "@yards", "");
        record.top = document.GetNodeText(node, "@top", "");
        record.start = markOf(document.GetNodeText(node, "@start", ""));
        record.end = markOf(document.GetNodeText(node, "@end", ""));
        record.start.how = statsCode(record.start.how);
        record.end.how = statsCode(record.end.how);
        records.push_back(record);
    }
    return records;
}

} // namespace

TEST(DerivedDriveAgreement, FieldsOfTheRecordsOnMostDrivesOfSeveralGames)
{
    ScratchDirectory scratch;
    const RosterFactory rosters;
    int recorded = 0;
    int matched = 0;
    int extra = 0;
    std::array<int, kFields.size()> agreeing{};
    for (std::uint64_t seed = 1; seed <= 24; ++seed) { // seed 1 goes to overtime
        GameSimulator simulator(seed, rosters.home(), rosters.visitor());
        simulator.run({});
        const std::string full = GameXmlWriter::write(simulator.state());
        CGameDocument withRecords;
        ASSERT_TRUE(withRecords.Open(scratch.Write("full.xml", full)));
        const std::size_t open = full.find("<drives>");
        const std::size_t close = full.find("</drives>");
        ASSERT_NE(open, std::string::npos);
        ASSERT_NE(close, std::string::npos);
        CGameDocument withoutRecords;
        ASSERT_TRUE(withoutRecords.Open(
            scratch.Write("plays.xml", full.substr(0, open) +
                                           full.substr(close + std::string("</drives>").size()))));

        const GameDrives derived = DrivesWithoutRecords(withoutRecords);
        ASSERT_TRUE(derived.derived);
        std::map<int, const DriveRecordFields *> byIndex;
        for (const DriveRecordFields &drive : derived.drives)
            byIndex.emplace(drive.driveIndex, &drive);
        const std::vector<DriveRecordFields> records = recordsOf(withRecords);
        recorded += static_cast<int>(records.size());
        extra += static_cast<int>(derived.drives.size());
        for (const DriveRecordFields &record : records) {
            const auto found = byIndex.find(record.driveIndex);
            if (found == byIndex.end())
                continue;
            ++matched;
            --extra;
            const auto want = fieldsOf(record);
            const auto got = fieldsOf(*found->second);
            for (std::size_t f = 0; f < kFields.size(); ++f) {
                agreeing[f] += want[f] == got[f] ? 1 : 0;
                if (want[f] != got[f])
                    std::printf("seed %llu drive %d %s: recorded '%s', derived '%s'\n",
                                static_cast<unsigned long long>(seed), record.driveIndex,
                                kFields[f], want[f].c_str(), got[f].c_str());
            }
        }
    }
    ASSERT_GT(recorded, 100);
    std::printf("%d drives recorded, %d matched, %d derived without a record\n", recorded, matched,
                extra);
    EXPECT_GE(matched * 100, recorded * 98);
    EXPECT_LE(extra * 100, recorded * 2) << "derived drives the records do not have";
    for (std::size_t f = 0; f < kFields.size(); ++f) {
        std::printf("%-14s %5.1f%%\n", kFields[f], 100.0 * agreeing[f] / recorded);
        EXPECT_GE(agreeing[f] * 100, recorded * 95) << kFields[f];
    }
}
