// What filling every statistics page costs: all tables of Offense, Defense,
// Special Teams, the team comparison, scoring, play-by-play and the drives
// and plays lists, for the finished sample game and for a game ten times its
// size (the feed tool's --scale 10).
#include "BenchSupport.h"
#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"
#include "pages/CPageContainerWnd.h"
#include "pages/StatPages.h"
#include "platform/ControlIds.h"
#include "platform/Fonts.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{

// Where the tenfold game is written for the run.
std::filesystem::path tenfoldPath()
{
    return std::filesystem::temp_directory_path() /
           ("plx-pages-bench-" + std::to_string(::getpid()) + ".xml");
}

// The game file a benchmark argument names: 0 the finished sample, 1 the tenfold game.
std::string gameFile(int which)
{
    if (which == 0)
        return PYLONIX_SAMPLES_DIR "/game-final.xml";
    const std::filesystem::path path = tenfoldPath();
    if (!std::filesystem::exists(path)) {
        std::ofstream(path, std::ios::binary) << StressGameXml(1, 10);
    }
    return path.string();
}

// The pages of the main window over one loaded game.
struct Pages {
    explicit Pages(int which)
        : container(&dialog, IDC_PAGE_CONTAINER), pages(&dialog, &container, DialogFont())
    {
        dialog.setFont(DialogFont());
        loaded = session.Reload({gameFile(which), "", ""}).gameOpened;
        drives = CDriveChartData::Load(session.game(), session.teams(), DriveFilter{});
    }

    // Page 0 the team comparison, 1 Offense, 2 Defense, 3 Special Teams,
    // 4 Scoring plays, 5 Play-by-Play, 6 the drive lists: the tables the
    // window fills after the yardage summary.
    void Fill(int page)
    {
        pages.Fill(StatPages::kFilledPages[static_cast<std::size_t>(page) + 1], session,
                   {0, true, &drives});
    }

    GameSession session;
    CDriveChartData drives;
    QWidget dialog;
    CPageContainerWnd container;
    StatPages pages;
    bool loaded = false;
};

constexpr int kPageCount = 7;

void FillEveryPage(benchmark::State &state)
{
    const int which = static_cast<int>(state.range(0));
    Pages pages(which);
    if (!pages.loaded) {
        state.SkipWithError("game file missing");
        return;
    }
    for (auto _ : state) {
        for (int page = 0; page < kPageCount; ++page)
            pages.Fill(page);
    }
    state.counters["pbp_rows"] = pages.pages.playByPlay->GetItemCount();
    state.SetLabel(which == 0 ? "finished sample" : "tenfold game");
}
BENCHMARK(FillEveryPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Where the time goes: one page at a time, for the tenfold game.
void FillOnePage(benchmark::State &state)
{
    Pages pages(1);
    if (!pages.loaded) {
        state.SkipWithError("game file missing");
        return;
    }
    for (auto _ : state)
        pages.Fill(static_cast<int>(state.range(0)));
}
BENCHMARK(FillOnePage)->DenseRange(0, kPageCount - 1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    const int status = RunQtBenchmarks(argc, argv);
    std::error_code ignored;
    std::filesystem::remove(tenfoldPath(), ignored);
    return status;
}
