// What filling every statistics page costs: all tables of Offense, Defense,
// Special Teams, the team comparison, scoring, play-by-play and the drives
// and plays lists, for the finished sample game and for a game ten times its
// size (the feed tool's --scale 10).
#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "gamedata/GameSession.h"
#include "pages/CPageContainerWnd.h"
#include "pages/StatPages.h"
#include "platform/ControlIds.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{

// The game file a benchmark argument names: 0 the finished sample, 1 the tenfold game.
std::string gameFile(int which)
{
    if (which == 0)
        return PYLONIX_SAMPLES_DIR "/game-final.xml";
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("plx-pages-bench-" + std::to_string(::getpid()) + ".xml");
    if (!std::filesystem::exists(path)) {
        using namespace pylonix::feed;
        const RosterFactory rosters(10);
        GameSimulator simulator(1, rosters.home(), rosters.visitor(), 10);
        simulator.run({});
        std::ofstream(path, std::ios::binary) << GameXmlWriter::write(simulator.state());
    }
    return path.string();
}

void FillEveryPage(benchmark::State &state)
{
    const int which = static_cast<int>(state.range(0));
    GameSession session;
    if (!session.Reload({gameFile(which), "", ""}).gameOpened) {
        state.SkipWithError("game file missing");
        return;
    }
    QWidget dialog;
    dialog.setFont(DialogFont());
    CPageContainerWnd container(&dialog, IDC_PAGE_CONTAINER);
    StatPages pages(&dialog, &container, DialogFont());
    session.drives().LoadDrives(session.game(), session.teams());
    for (auto _ : state) {
        pages.FillTeamStats(session, true);
        pages.FillOffense(session);
        pages.FillDefense(session);
        pages.FillSpecialTeams(session);
        pages.FillScoring(session, true);
        pages.FillPlayByPlay(session, 0, true);
        pages.FillDriveLists(session.drives(), true);
    }
    state.counters["pbp_rows"] = pages.playByPlay->GetItemCount();
    state.SetLabel(which == 0 ? "finished sample" : "tenfold game");
    if (which == 1)
        std::filesystem::remove(gameFile(1));
}
BENCHMARK(FillEveryPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
