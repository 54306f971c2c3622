// pylonix-tornread: copies a game file again and again while the feed tool
// rewrites it in place as fast as it can, and checks that every copy that
// parses is one of the states the feed writes, never the start of one state
// joined to the rest of another. Bounded by a number of opens and a time limit.

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "platform/TemporaryCopy.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <pugixml.hpp>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unordered_map>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;
using namespace pylonix::feed;

namespace
{

struct Options {
    std::string feed;
    long opens = 200000;
    int seconds = 900;
    int scale = 3;
    std::uint64_t seed = 1;
    int pauseMicroseconds = 200;
};

const char *usage =
    "Usage: pylonix-tornread --feed PATH [--opens N] [--seconds S] [--scale K] [--seed N]\n"
    "                        [--pause-us U]\n"
    "Copies and parses a game file while PATH (the pylonix-feed tool) rewrites it in\n"
    "place without pauses; fails when a parsed copy is not a state the feed wrote.\n"
    "Every other copy pauses U microseconds (default 200) after the first block of each\n"
    "reading, which leaves the writer time to change the file in the middle of a copy.\n"
    "Stops after N opens (default 200000) or S seconds (default 900).\n";

std::optional<Options> parseArguments(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc)
            return std::nullopt;
        const std::string value = argv[++i];
        if (name == "--feed")
            options.feed = value;
        else if (name == "--opens")
            options.opens = std::stol(value);
        else if (name == "--seconds")
            options.seconds = std::stoi(value);
        else if (name == "--scale")
            options.scale = std::stoi(value);
        else if (name == "--seed")
            options.seed = std::stoull(value);
        else if (name == "--pause-us")
            options.pauseMicroseconds = std::stoi(value);
        else
            return std::nullopt;
    }
    if (options.feed.empty() || options.opens <= 0 || options.seconds <= 0 || options.scale <= 0 ||
        options.pauseMicroseconds < 0)
        return std::nullopt;
    return options;
}

// Every state the feed writes in one live run, in order, as the library it is
// built from writes them.
std::vector<std::string> feedVersions(const Options &options)
{
    const RosterFactory rosters(options.scale);
    GameSimulator simulator(options.seed, rosters.home(), rosters.visitor(), options.scale);
    std::vector<std::string> versions;
    simulator.run(
        [&](const GameState &state, int) { versions.push_back(GameXmlWriter::write(state)); });
    return versions;
}

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the feed with `arguments` and returns its process id, or -1.
pid_t startFeed(const Options &options, const std::vector<std::string> &arguments)
{
    std::vector<std::string> all{options.feed, "--scale", std::to_string(options.scale), "--seed",
                                 std::to_string(options.seed)};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, options.feed.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

bool runFeed(const Options &options, const std::vector<std::string> &arguments)
{
    const pid_t pid = startFeed(options, arguments);
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// The versions a partial copy may be the start of: the feed writes them in
// order, so those near the last whole one seen.
bool isStartOfAVersion(const std::string &bytes, const std::vector<std::string> &versions,
                       size_t near)
{
    for (size_t offset = 0; offset < versions.size(); ++offset) {
        for (const size_t index : {near + offset, near + versions.size() - offset}) {
            const std::string &version = versions[index % versions.size()];
            if (version.compare(0, bytes.size(), bytes) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<Options> parsed = parseArguments(argc, argv);
    if (!parsed) {
        std::cerr << usage;
        return 2;
    }
    const Options &options = *parsed;

    std::string pattern = (fs::temp_directory_path() / "pylonix-tornread-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::cerr << "pylonix-tornread: cannot make a scratch directory\n";
        return 1;
    }
    const fs::path scratch = pattern;
    const fs::path game = scratch / "game.xml";

    // The states the feed writes, checked against the feed tool itself at the
    // first, a middle and the last play.
    const std::vector<std::string> versions = feedVersions(options);
    for (const size_t play : {size_t{0}, versions.size() / 2, versions.size() - 1}) {
        if (!runFeed(options, {"--out", game.string(), "--until", std::to_string(play)}) ||
            readFile(game) != versions[play]) {
            std::cerr << "pylonix-tornread: the feed tool does not write play " << play
                      << " as expected\n";
            fs::remove_all(scratch);
            return 1;
        }
    }
    std::unordered_map<std::string_view, size_t> versionIndex;
    for (size_t i = 0; i < versions.size(); ++i)
        versionIndex.emplace(versions[i], i);

    long opens = 0, parsedOpens = 0, spliced = 0, partial = 0, torn = 0, failedCopies = 0;
    long feedRuns = 0;
    size_t lastVersion = 0;
    TemporaryCopy copy;
    bool widen = false;
    copy.SetReadObserver([&](size_t bytesRead) {
        if (widen && bytesRead == 65536)
            std::this_thread::sleep_for(std::chrono::microseconds(options.pauseMicroseconds));
    });
    std::string bytes, error;
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + std::chrono::seconds(options.seconds);
    pid_t feed = -1;
    while (opens < options.opens && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (feed <= 0 || ::waitpid(feed, &status, WNOHANG) == feed) {
            // A live run ends with the game: start the next one.
            feed = startFeed(options,
                             {"--out", game.string(), "--write", "inplace", "--interval", "0"});
            if (feed <= 0) {
                std::cerr << "pylonix-tornread: cannot run " << options.feed << "\n";
                break;
            }
            ++feedRuns;
        }
        if (!fs::exists(game))
            continue;
        ++opens;
        widen = opens % 2 == 0;
        if (!copy.CopyFrom(game.string(), bytes, error)) {
            ++failedCopies;
            continue;
        }
        const auto found = versionIndex.find(bytes);
        if (found != versionIndex.end()) {
            ++parsedOpens;
            lastVersion = found->second;
            continue;
        }
        // Not a whole state: a file caught half-written fails to parse; one
        // that parses is a copy made of two states.
        pugi::xml_document document;
        if (document.load_buffer(bytes.data(), bytes.size())) {
            ++parsedOpens;
            ++spliced;
            std::cerr << "spliced copy of " << bytes.size() << " bytes\n";
        } else if (isStartOfAVersion(bytes, versions, lastVersion)) {
            ++partial;
        } else {
            ++torn;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (feed > 0) {
        ::kill(feed, SIGTERM);
        ::waitpid(feed, nullptr, 0);
    }
    fs::remove_all(scratch);

    std::cout << "game: scale " << options.scale << ", " << versions.size() << " states, "
              << versions.back().size() << " bytes at the end; " << feedRuns << " feed runs\n"
              << "opens: " << opens << " in " << seconds << " s\n"
              << "successful opens (parsed): " << parsedOpens << "\n"
              << "spliced (parsed but not a state the feed wrote): " << spliced << "\n"
              << "caught half-written (the start of a state, not parsed): " << partial << "\n"
              << "torn but not parsed (neither a state nor its start): " << torn << "\n"
              << "copies given up (source kept changing): " << failedCopies << "\n"
              << "sources read again: " << copy.Retries() << "\n"
              << "copies with a pause after the first block: " << opens / 2 << " of "
              << options.pauseMicroseconds << " us\n";
    const bool passed = spliced == 0 && torn == 0 && opens >= options.opens;
    std::cout << (passed ? "PASS" : "FAIL") << "\n";
    return passed ? 0 : 1;
}
