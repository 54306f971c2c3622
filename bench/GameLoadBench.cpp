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

namespace {

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

} // namespace

BENCHMARK(BareParse)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(FullReload)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
