// What one reload of the main window costs, against a bare parse of the game
// file: opening the game and both season files through their temporary
// copies, loading both teams and both season teams, and building the drive
// chart list.
#include "gamedata/CDriveChartData.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"

#include <array>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>

namespace
{

struct GameFiles {
    std::string game, home, visitor;
};

// The hand-written sample, and the full game of the feed tool when present.
GameFiles filesFor(int which)
{
    const std::string samples = PYLONIX_SAMPLES_DIR;
    if (which == 0)
        return {samples + "/small/game.xml", samples + "/small/season-home.xml",
                samples + "/small/season-visitor.xml"};
    return {samples + "/game-final.xml", samples + "/season-home.xml",
            samples + "/season-visitor.xml"};
}

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void BareParse(benchmark::State &state)
{
    const GameFiles files = filesFor(static_cast<int>(state.range(0)));
    if (!std::filesystem::exists(files.game)) {
        state.SkipWithError("sample game missing");
        return;
    }
    const std::string bytes = readAll(files.game);
    for (auto _ : state) {
        pugi::xml_document document;
        benchmark::DoNotOptimize(document.load_buffer(bytes.data(), bytes.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.SetLabel(files.game.substr(files.game.rfind('/') + 1) + ", " +
                   std::to_string(bytes.size()) + " bytes");
}

void FullReload(benchmark::State &state)
{
    const GameFiles files = filesFor(static_cast<int>(state.range(0)));
    if (!std::filesystem::exists(files.game)) {
        state.SkipWithError("sample game missing");
        return;
    }
    // The main window keeps these objects for its whole life and refills them.
    CGameDocument game;
    std::array<CXmlDocument, 2> seasonDocuments;
    std::array<CTeamStats, 2> teams;
    std::array<CSeasonStats, 2> seasons;
    CDriveChartData drives;
    teams[0].SetSide('H');
    teams[1].SetSide('V');
    seasons[0].SetSide('H');
    seasons[1].SetSide('V');
    for (auto _ : state) {
        const bool opened = game.Open(files.game) && seasonDocuments[0].Open(files.home) &&
                            seasonDocuments[1].Open(files.visitor);
        if (!opened) {
            state.SkipWithError("cannot open the sample files");
            return;
        }
        teams[0].LoadGame(game);
        teams[1].LoadGame(game);
        seasons[0].LoadSeason(seasonDocuments[0]);
        seasons[1].LoadSeason(seasonDocuments[1]);
        drives.LoadDrives(game, teams);
        benchmark::DoNotOptimize(drives.count());
    }
    state.counters["players"] = teams[0].playerCount() + teams[1].playerCount();
    state.counters["drives"] = drives.count();
}

// A game of `count` drives, each with its drivestart and a score for every
// third one: what the drive list looks up per drive.
std::string gameWithDrives(int count)
{
    std::string drives, starts, scores;
    for (int d = 1; d <= count; ++d) {
        const std::string index = std::to_string(d);
        drives += "<drive driveindex=\"" + index + "\" vh=\"" + (d % 2 ? "H" : "V") +
                  "\" plays=\"5\" yards=\"30\" top=\"02:10\" start=\"KO,1,15:00,25\" "
                  "end=\"PUNT,1,12:50,55\"/>\n";
        starts += "<drivestart driveindex=\"" + index + ",1\" vh=\"H\" spot=\"H25\"/>\n";
        if (d % 3 == 0)
            scores += "<score type=\"TD\" qtr=\"1\" driveindex=\"" + index + "\"/>\n";
    }
    return "<fbgame><venue><rules field=\"100\"/></venue><scores>" + scores + "</scores><drives>" +
           drives + "</drives><plays><qtr number=\"1\">" + starts + "</qtr></plays></fbgame>";
}

// Building the drive list, all drives and scoring drives only, against the
// number of drives in the file.
void DriveList(benchmark::State &state)
{
    const auto path = std::filesystem::temp_directory_path() / "pylonix-bench-drives.xml";
    std::ofstream(path, std::ios::binary) << gameWithDrives(static_cast<int>(state.range(0)));
    CGameDocument game;
    const bool opened = game.Open(path.string());
    std::filesystem::remove(path);
    if (!opened) {
        state.SkipWithError("cannot open the generated game");
        return;
    }
    std::array<CTeamStats, 2> teams;
    CDriveChartData drives;
    for (auto _ : state) {
        drives.scoringOnly = 0;
        drives.LoadDrives(game, teams);
        drives.scoringOnly = 1;
        drives.LoadDrives(game, teams);
        benchmark::DoNotOptimize(drives.count());
    }
    state.counters["scoring"] = drives.count();
}

} // namespace

BENCHMARK(BareParse)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(FullReload)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(DriveList)->Arg(25)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
