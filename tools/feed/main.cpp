// pylonix-feed: plays a simulated game into a game file, play by play, as the
// stat crew's program does during a live game.

#include "FeedOptions.h"
#include "FileOutput.h"
#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "SeasonBuilder.h"
#include "SeasonXmlWriter.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <thread>

using namespace pylonix::feed;

namespace
{

int usageError(const std::string &message)
{
    std::cerr << "pylonix-feed: " << message << "\nTry 'pylonix-feed --help'.\n";
    return 2;
}

int writeError(const std::string &message)
{
    std::cerr << "pylonix-feed: " << message << "\n";
    return 1;
}

bool writeSeasons(const FeedOptions &options, std::string &error)
{
    const std::filesystem::path dir(options.seasonDir);
    std::error_code code;
    if (!std::filesystem::is_directory(dir, code)) {
        error = "season directory " + dir.string() + " does not exist";
        return false;
    }
    const SeasonBuilder builder(options.seed, options.scale);
    FileOutput home(dir / "home.xml", WriteMode::Replace);
    FileOutput visitor(dir / "visitor.xml", WriteMode::Replace);
    if (!home.write(SeasonXmlWriter::write(builder.home(), options.encoding))) {
        error = home.error();
        return false;
    }
    if (!visitor.write(SeasonXmlWriter::write(builder.visitor(), options.encoding))) {
        error = visitor.error();
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const FeedParseResult parsed = FeedOptions::parse(arguments);
    if (!parsed.options)
        return usageError(parsed.error);
    const FeedOptions &options = *parsed.options;
    if (options.help) {
        std::cout << FeedOptions::usage();
        return 0;
    }
    if (options.version) {
        std::cout << "pylonix-feed " << PYLONIX_FEED_VERSION << "\n";
        return 0;
    }

    if (!options.seasonDir.empty()) {
        std::string error;
        if (!writeSeasons(options, error))
            return writeError(error);
    }

    const RosterFactory rosters(options.scale);
    GameSimulator simulator(options.seed, rosters.home(), rosters.visitor(), options.scale);
    // In-place writes pause between their chunks so that a reader can catch a
    // half-written file; at interval 0 nothing pauses.
    const auto chunkPause = std::chrono::milliseconds(std::min(15, options.intervalMs / 8));
    FileOutput output(options.out, options.writeMode, chunkPause);

    if (options.final || options.until) {
        std::string document;
        const int wanted = options.until.value_or(-1);
        const int plays = simulator.run([&](const GameState &state, int play) {
            if (play == wanted)
                document = GameXmlWriter::write(state, options.encoding, options.shape);
        });
        if (options.final)
            document = GameXmlWriter::write(simulator.state(), options.encoding, options.shape);
        else if (wanted > plays)
            return usageError("--until " + std::to_string(wanted) + ": the game has only " +
                              std::to_string(plays) + " plays");
        if (!output.write(document))
            return writeError(output.error());
        return 0;
    }

    // Live: the state before the first play, then one state per play.
    bool failed = false;
    const auto pause = std::chrono::milliseconds(options.intervalMs);
    simulator.run([&](const GameState &state, int play) {
        if (failed)
            return;
        if (play > 0 && pause.count() > 0)
            std::this_thread::sleep_for(pause);
        failed = !output.write(GameXmlWriter::write(state, options.encoding, options.shape));
    });
    if (failed)
        return writeError(output.error());
    return 0;
}
