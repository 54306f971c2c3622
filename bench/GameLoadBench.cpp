// What one reload of the main window costs, against a bare parse of the game
// file: opening the game file through its temporary copy, loading both teams,
// the season teams and the scoreboard values (GameSession::Reload), with the
// season files unchanged or changed since the last reload; and building the
// drive chart list.
#include "gamedata/CDriveChartData.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "gamedata/GameSession.h"

#include <array>
#include <benchmark/benchmark.h>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>

namespace
{

// The hand-written sample, and the finished game of the feed tool.
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
        const bool opened = game.Open(files.game) && seasonDocuments[0].Open(files.homeSeason) &&
                            seasonDocuments[1].Open(files.visitorSeason);
        if (!opened) {
            state.SkipWithError("cannot open the sample files");
            return;
        }
        teams[0].LoadGame(game);
        teams[1].LoadGame(game);
        seasons[0].LoadSeason(seasonDocuments[0]);
        seasons[1].LoadSeason(seasonDocuments[1]);
        drives = CDriveChartData::Load(game, teams, DriveFilter{}, drives);
        benchmark::DoNotOptimize(drives.count());
    }
    state.counters["players"] = teams[0].playerCount() + teams[1].playerCount();
    state.counters["drives"] = drives.count();
}

// Processor time of this thread, in seconds: on a busy machine wall time
// measures the other programs as well.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The processor time of a step beside that of a bare parse of the game file,
// taken in turns so that both meet the same load of the machine.
class AgainstBareParse
{
public:
    explicit AgainstBareParse(std::string bytes) : bytes_(std::move(bytes)) {}

    template <typename Step> void Measure(benchmark::State &state, Step step)
    {
        const double start = threadSeconds();
        step();
        stepSeconds_ += threadSeconds() - start;
        state.PauseTiming();
        const double parseStart = threadSeconds();
        {
            pugi::xml_document document;
            benchmark::DoNotOptimize(document.load_buffer(bytes_.data(), bytes_.size()));
        }
        parseSeconds_ += threadSeconds() - parseStart;
        state.ResumeTiming();
    }

    // How many bare parses the steps took.
    double Ratio() const { return parseSeconds_ > 0 ? stepSeconds_ / parseSeconds_ : 0; }

private:
    std::string bytes_;
    double stepSeconds_ = 0;
    double parseSeconds_ = 0;
};

// GameSession::Reload, the reload the main window makes every few seconds of a
// game. With Arg 1 the season files are unchanged since the last reload; with
// Arg 0 each reload names other paths to the same season files, so both are
// parsed again. "x_bare_parse" is the processor time of a reload over that of
// a bare parse of the game file.
void SessionReload(benchmark::State &state)
{
    const GameFiles files = filesFor(1);
    const bool unchanged = state.range(0) == 1;
    const auto dir = std::filesystem::temp_directory_path() / "pylonix-bench-seasons";
    std::filesystem::create_directories(dir);
    std::array<GameFiles, 2> variants = {files, files};
    if (!unchanged) {
        for (int i = 0; i < 2; ++i) {
            const std::string suffix = std::to_string(i) + ".xml";
            variants[i].homeSeason = (dir / ("home" + suffix)).string();
            variants[i].visitorSeason = (dir / ("visitor" + suffix)).string();
            std::filesystem::copy_file(files.homeSeason, variants[i].homeSeason,
                                       std::filesystem::copy_options::overwrite_existing);
            std::filesystem::copy_file(files.visitorSeason, variants[i].visitorSeason,
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
    GameSession session;
    session.Reload(variants[1]);
    int64_t kept = 0;
    size_t next = 0;
    AgainstBareParse comparison(readAll(files.game));
    for (auto _ : state) {
        ReloadResult result;
        comparison.Measure(state, [&] { result = session.Reload(variants[next]); });
        next = unchanged ? 0 : 1 - next;
        if (!result.gameOpened || result.seasonFailed[0] || result.seasonFailed[1]) {
            state.SkipWithError("cannot open the sample files");
            break;
        }
        kept += result.seasonKept[0] + result.seasonKept[1];
    }
    std::filesystem::remove_all(dir);
    state.counters["x_bare_parse"] = comparison.Ratio();
    state.counters["seasons_kept"] =
        static_cast<double>(kept) / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
}

// The two parts of a reload of the finished sample with unchanged season
// files, against a bare parse as above: opening the game file (copy, parse,
// checks), and loading both teams and the scoreboard values from it.
void ReloadParts(benchmark::State &state)
{
    const GameFiles files = filesFor(1);
    const bool open = state.range(0) == 0;
    CGameDocument game;
    if (!game.Open(files.game)) {
        state.SkipWithError("cannot open the sample game");
        return;
    }
    std::array<CTeamStats, 2> teams;
    teams[1].SetSide('V');
    ScoreboardState scoreboard;
    AgainstBareParse comparison(readAll(files.game));
    for (auto _ : state) {
        comparison.Measure(state, [&] {
            if (open) {
                benchmark::DoNotOptimize(game.Open(files.game));
            } else {
                teams[0].LoadGame(game);
                teams[1].LoadGame(game);
                scoreboard.Read(game);
            }
        });
    }
    state.counters["x_bare_parse"] = comparison.Ratio();
    state.SetLabel(open ? "open the game file" : "load teams and scoreboard");
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
        DriveFilter filter;
        drives = CDriveChartData::Load(game, teams, filter, drives);
        filter.scoringOnly = true;
        drives = CDriveChartData::Load(game, teams, filter, drives);
        benchmark::DoNotOptimize(drives.count());
    }
    state.counters["scoring"] = drives.count();
}

} // namespace

BENCHMARK(BareParse)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(FullReload)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReloadParts)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(SessionReload)
    ->ArgName("seasons_unchanged")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(DriveList)->Arg(25)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
