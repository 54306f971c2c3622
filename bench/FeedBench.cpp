// How fast the feed plays and writes a game: the whole game at interval 0,
// with and without the file writes, and the size of the finished file.

#include "FileOutput.h"
#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

using namespace pylonix::feed;

namespace
{

void simulateOnly(benchmark::State &bench)
{
    const RosterFactory rosters;
    for (auto _ : bench) {
        GameSimulator simulator(14, rosters.home(), rosters.visitor());
        benchmark::DoNotOptimize(simulator.run({}));
    }
}
BENCHMARK(simulateOnly)->Unit(benchmark::kMillisecond);

// Every state rendered as the live feed does, without touching the disk.
void renderEveryState(benchmark::State &bench)
{
    const RosterFactory rosters;
    std::size_t finalSize = 0;
    for (auto _ : bench) {
        GameSimulator simulator(14, rosters.home(), rosters.visitor());
        simulator.run(
            [&](const GameState &state, int) { finalSize = GameXmlWriter::write(state).size(); });
    }
    bench.counters["final_bytes"] = static_cast<double>(finalSize);
}
BENCHMARK(renderEveryState)->Unit(benchmark::kMillisecond);

// The whole game written play by play to a file, as --interval 0 does.
void writeWholeGame(benchmark::State &bench)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("plx-feed-bench-" + std::to_string(::getpid()) + ".xml");
    const RosterFactory rosters;
    const WriteMode mode = bench.range(0) == 0 ? WriteMode::Replace : WriteMode::Inplace;
    int plays = 0;
    for (auto _ : bench) {
        FileOutput output(path, mode, std::chrono::milliseconds(0));
        GameSimulator simulator(14, rosters.home(), rosters.visitor());
        plays = simulator.run(
            [&](const GameState &state, int) { output.write(GameXmlWriter::write(state)); });
    }
    bench.counters["plays"] = plays;
    bench.counters["final_bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(writeWholeGame)->Arg(0)->Arg(1)->ArgName("inplace")->Unit(benchmark::kMillisecond);

// A stress game (--scale 10): ten times the plays and rosters, final state only.
void stressGameFinalState(benchmark::State &bench)
{
    const RosterFactory rosters(10);
    std::size_t size = 0;
    for (auto _ : bench) {
        GameSimulator simulator(14, rosters.home(), rosters.visitor(), 10);
        simulator.run({});
        size = GameXmlWriter::write(simulator.state()).size();
    }
    bench.counters["final_bytes"] = static_cast<double>(size);
}
BENCHMARK(stressGameFinalState)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
