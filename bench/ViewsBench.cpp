// What building the player tables as values costs for a game ten times the
// usual size (the feed tool's --scale 10), without and with its season files:
// every statistics cell looks its player's season line up, which must stay
// linear in the roster.
#include "BenchSupport.h"
#include "gamedata/GameSession.h"
#include "views/PlayerStatTable.h"

#include "SeasonBuilder.h"
#include "SeasonXmlWriter.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{

// The tenfold game and, with `seasons`, its two season files, loaded once per run.
class TenfoldGame
{
public:
    explicit TenfoldGame(bool seasons)
    {
        const std::string stem = "plx-views-bench-" + std::to_string(::getpid());
        const auto write = [&](const std::string &name, const std::string &xml) {
            const std::filesystem::path path =
                std::filesystem::temp_directory_path() / (stem + name);
            std::ofstream(path, std::ios::binary) << xml;
            paths_.push_back(path);
            return path.string();
        };
        GameFiles files{write("-game.xml", StressGameXml(1, 10)), "", ""};
        if (seasons) {
            const pylonix::feed::SeasonBuilder builder(1, 10);
            files.homeSeason =
                write("-home.xml", pylonix::feed::SeasonXmlWriter::write(builder.home()));
            files.visitorSeason =
                write("-visitor.xml", pylonix::feed::SeasonXmlWriter::write(builder.visitor()));
        }
        loaded = session.Reload(files).gameOpened;
    }
    ~TenfoldGame()
    {
        for (const auto &path : paths_)
            std::filesystem::remove(path);
    }

    GameSession session;
    bool loaded = false;

private:
    std::vector<std::filesystem::path> paths_;
};

// Both teams' Defense tables, the widest player table; argument 1 with season files.
void BuildDefenseTables(benchmark::State &state)
{
    const TenfoldGame game(state.range(0) != 0);
    if (!game.loaded) {
        state.SkipWithError("the tenfold game did not load");
        return;
    }
    for (auto _ : state) {
        for (int side = 0; side < 2; ++side)
            benchmark::DoNotOptimize(BuildPlayerStatTable(
                StatColumnSets::kDefense, game.session.team(side), game.session.season(side)));
    }
}
BENCHMARK(BuildDefenseTables)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
