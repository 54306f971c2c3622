// One reload of the tenfold stress game as the main window runs it: the load
// of the file, then the situation (period, line score, timeouts, last play
// and what the strip and the overview make of them), then the yards worked
// out for plays without any, then the values the Game Overview page and the
// header show. The situation and the worked-out yards are arguments (1 on,
// 0 off), so that the reload with them compares with the reload before them.
// The second benchmark is the same reload with the Play-by-Play page filled
// as the window fills it, the page that shows the worked-out yards.
#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"

#include "gamedata/GameSession.h"
#include "gamedata/GameSituation.h"
#include "gamedata/PlayRecords.h"
#include "gamedata/PlayYards.h"
#include "views/HeaderState.h"
#include "views/OverviewText.h"
#include "views/PageTable.h"
#include "views/PlayByPlayTable.h"
#include "views/SituationView.h"
#include "views/TeamStatsTable.h"
#include "views/TextWrapper.h"
#include "views/YardageSummaryTable.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

namespace
{

// The finished tenfold game of seed 1 as stats-entry programs write it (no
// yards on the plays, no drive records), in a file of its own.
std::filesystem::path writeStressGame()
{
    using namespace pylonix::feed;
    const RosterFactory rosters(10);
    GameSimulator simulator(1, rosters.home(), rosters.visitor(), 10);
    simulator.run({});
    const auto path = std::filesystem::temp_directory_path() / "pylonix-bench-reload.xml";
    std::ofstream(path, std::ios::binary)
        << GameXmlWriter::write(simulator.state(), Encoding::Utf8, FileShape::Real);
    return path;
}

// One reload with the overview values, the situation and the worked-out
// yards as the state's arguments ask, and the Play-by-Play page when
// `playByPlay` is given.
void Reload(benchmark::State &state, const TextWrapper *playByPlay)
{
    const bool situationStep = state.range(0) != 0;
    const bool yardsStep = state.range(1) != 0;
    const std::filesystem::path path = writeStressGame();
    GameSession session;
    for (auto _ : state) {
        if (!session.Reload({path.string(), "", ""}).gameOpened) {
            state.SkipWithError("cannot open the stress game");
            break;
        }
        if (situationStep) {
            const SituationView glance = SituationView::Build(
                GameSituation::Read(session.game(), session.teams(), session.scoreboard()),
                session.teams());
            benchmark::DoNotOptimize(glance.strip.data());
        }
        if (yardsStep) {
            const std::vector<PlayYards> &yards = session.playYards();
            benchmark::DoNotOptimize(yards.data());
        }
        const StatTable yardage = BuildYardageSummaryTable(session.teams());
        const StatTable teamStats = BuildTeamStatsTable(session.teams(), true);
        const std::string overview = BuildOverviewText(session.teams(), session.game());
        const std::vector<std::string> periods = BuildPeriodEntries(session.game());
        const HeaderState header = HeaderState::FromSession(session, PAGE_OVERVIEW, false);
        benchmark::DoNotOptimize(yardage.rows.data());
        benchmark::DoNotOptimize(teamStats.rows.data());
        benchmark::DoNotOptimize(overview.data());
        benchmark::DoNotOptimize(periods.data());
        benchmark::DoNotOptimize(&header);
        if (playByPlay) {
            const StatTable page = PlayByPlayTable::Build(session, {}, *playByPlay);
            benchmark::DoNotOptimize(page.rows.data());
        }
    }
    std::filesystem::remove(path);
}

void WindowReload(benchmark::State &state)
{
    Reload(state, nullptr);
}

void PlayByPlayReload(benchmark::State &state)
{
    const TextWrapper wrapper;
    Reload(state, &wrapper);
}

// Each reload with and without the situation and the worked-out yards.
void WithAndWithoutTheNewSteps(benchmark::internal::Benchmark *reload)
{
    reload->ArgNames({"situation", "derived_yards"})
        ->Args({0, 0})
        ->Args({1, 0})
        ->Args({0, 1})
        ->Args({1, 1})
        ->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(WindowReload)->Apply(WithAndWithoutTheNewSteps);
BENCHMARK(PlayByPlayReload)->Apply(WithAndWithoutTheNewSteps);

// The play texts are wrapped with a font's measures, which need the GUI
// application (offscreen unless the caller chose a platform).
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
