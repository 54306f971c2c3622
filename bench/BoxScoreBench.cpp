// The box score against the export of the same files, as a user runs them:
// `pylonix --box-score FILE.pdf` and `pylonix --export json`, each a whole
// run of the program (reading the files, building the tables, writing the
// output), on the bundled final game and on a game ten times its size (the
// feed tool's --scale 10) with season files. Reports the wall time of a run
// and the peak resident memory of the program ("peak_MiB"). The goal: a box
// score takes at most twice the export's time.
#include "BenchSupport.h"

#include "SeasonBuilder.h"
#include "SeasonXmlWriter.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace
{

// The files of a game to run the program on.
struct GameFiles {
    std::string game, home, visitor;
};

// The bundled final game with its season files.
GameFiles sampleGame()
{
    const std::string samples = PYLONIX_SAMPLES_DIR;
    return {samples + "/game-final.xml", samples + "/season-home.xml",
            samples + "/season-visitor.xml"};
}

// The tenfold game and its season files, written once into a folder of
// their own that is removed at exit.
const GameFiles &tenfoldGame()
{
    struct Written {
        std::filesystem::path folder;
        GameFiles files;
        Written()
        {
            folder = std::filesystem::temp_directory_path() /
                     ("plx-boxscore-bench-" + std::to_string(::getpid()));
            std::filesystem::create_directories(folder);
            const auto write = [this](const char *name, const std::string &xml) {
                const std::filesystem::path path = folder / name;
                std::ofstream(path, std::ios::binary) << xml;
                return path.string();
            };
            const pylonix::feed::SeasonBuilder seasons(1, 10);
            files = {
                write("game.xml", StressGameXml(1, 10)),
                write("home.xml", pylonix::feed::SeasonXmlWriter::write(seasons.home())),
                write("visitor.xml", pylonix::feed::SeasonXmlWriter::write(seasons.visitor()))};
        }
        ~Written()
        {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    };
    static const Written written;
    return written.files;
}

// Runs the program with `arguments`, its output to /dev/null; false when it
// does not end with status 0. `peakKiB` gets its peak resident memory.
bool runProgram(const std::vector<std::string> &arguments, long &peakKiB)
{
    std::vector<char *> argv{const_cast<char *>(PYLONIX_PROGRAM)};
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, PYLONIX_PROGRAM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child)
        return false;
    peakKiB = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Argument 0: the game (0 the sample, 1 the tenfold game); argument 1: the
// output (0 the export, 1 the box score).
void ProgramRun(benchmark::State &state)
{
    const GameFiles files = state.range(0) == 0 ? sampleGame() : tenfoldGame();
    const std::filesystem::path pdf = std::filesystem::temp_directory_path() /
                                      ("plx-boxscore-bench-" + std::to_string(::getpid()) + ".pdf");
    std::vector<std::string> arguments = {"--game",   files.game,  "--home",
                                          files.home, "--visitor", files.visitor};
    if (state.range(1) == 0)
        arguments.insert(arguments.end(), {"--export", "json"});
    else
        arguments.insert(arguments.end(), {"--box-score", pdf.string()});
    long peakKiB = 0;
    for (auto _ : state) {
        if (!runProgram(arguments, peakKiB)) {
            state.SkipWithError("the program failed");
            break;
        }
    }
    state.counters["peak_MiB"] = double(peakKiB) / 1024.0;
    state.SetLabel(std::string(state.range(0) == 0 ? "sample" : "tenfold") +
                   (state.range(1) == 0 ? ", export" : ", box score"));
    std::filesystem::remove(pdf);
}
BENCHMARK(ProgramRun)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
