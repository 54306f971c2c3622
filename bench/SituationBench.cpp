// What the game at a glance costs on each reload of the tenfold stress game:
// the situation (period, line score, timeouts, down and distance, last play),
// the yards of every play worked out where the file has none, and the drives
// worked out from the plays. The file is written in the shape stats-entry
// programs write (no yards on the plays, no drive records) and, for the
// yards, also in the full shape, where the file's own yards are taken.
#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"
#include "gamedata/DerivedDrives.h"
#include "gamedata/GameSituation.h"
#include "gamedata/ScoreboardState.h"

#include <array>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>

namespace
{

using pylonix::feed::FileShape;

// The finished tenfold game of seed 1 in the given shape.
std::string stressGame(FileShape shape)
{
    using namespace pylonix::feed;
    const RosterFactory rosters(10);
    GameSimulator simulator(1, rosters.home(), rosters.visitor(), 10);
    simulator.run({});
    return GameXmlWriter::write(simulator.state(), Encoding::Utf8, shape);
}

// The same, opened.
bool openStressGame(CGameDocument &game, FileShape shape)
{
    const auto path = std::filesystem::temp_directory_path() / "pylonix-bench-situation.xml";
    std::ofstream(path, std::ios::binary) << stressGame(shape);
    const bool opened = game.Open(path.string());
    std::filesystem::remove(path);
    return opened;
}

// What the figures below compare with: parsing the file, nothing else.
void BareParse(benchmark::State &state)
{
    const std::string bytes = stressGame(FileShape::Real);
    for (auto _ : state) {
        pugi::xml_document document;
        benchmark::DoNotOptimize(document.load_buffer(bytes.data(), bytes.size()));
    }
    state.SetLabel(std::to_string(bytes.size()) + " bytes");
}

// Arg 0: the situation, from the loaded teams and scoreboard.
void Situation(benchmark::State &state)
{
    CGameDocument game;
    if (!openStressGame(game, FileShape::Real)) {
        state.SkipWithError("cannot open the stress game");
        return;
    }
    std::array<CTeamStats, 2> teams;
    teams[0].SetSide('H');
    teams[1].SetSide('V');
    for (CTeamStats &team : teams)
        team.LoadGame(game);
    ScoreboardState scoreboard;
    scoreboard.Read(game);
    for (auto _ : state) {
        const GameSituation situation = GameSituation::Read(game, teams, scoreboard);
        benchmark::DoNotOptimize(situation.last_play.data());
    }
}

// The yards of every play; Arg 1 the file has its own, Arg 0 they are derived.
void PlayYardsOfGame(benchmark::State &state)
{
    CGameDocument game;
    if (!openStressGame(game, state.range(0) ? FileShape::Full : FileShape::Real)) {
        state.SkipWithError("cannot open the stress game");
        return;
    }
    std::size_t plays = 0;
    for (auto _ : state) {
        const std::vector<PlayYards> yards = DerivePlayYards(ReadGamePlays(game));
        plays = yards.size();
        benchmark::DoNotOptimize(yards.data());
    }
    state.counters["plays"] = static_cast<double>(plays);
    state.SetLabel(state.range(0) ? "file's own yards" : "derived yards");
}

// The drives of a file without drive records, worked out from its plays.
void DerivedDrivesOfGame(benchmark::State &state)
{
    CGameDocument game;
    if (!openStressGame(game, FileShape::Real)) {
        state.SkipWithError("cannot open the stress game");
        return;
    }
    std::size_t drives = 0;
    for (auto _ : state) {
        const GameDrives derived = DrivesWithoutRecords(game);
        drives = derived.drives.size();
        benchmark::DoNotOptimize(derived.drives.data());
    }
    state.counters["drives"] = static_cast<double>(drives);
}

} // namespace

BENCHMARK(BareParse)->Unit(benchmark::kMicrosecond);
BENCHMARK(Situation)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlayYardsOfGame)->ArgName("file_yards")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(DerivedDrivesOfGame)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
