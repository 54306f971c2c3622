#include "FeedOptions.h"

#include <charconv>

namespace pylonix::feed
{

namespace
{

template <typename Number>
bool parseNumber(const std::string &text, Number minimum, Number maximum, Number &value)
{
    Number parsed{};
    const char *end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error != std::errc() || rest != end || parsed < minimum || parsed > maximum)
        return false;
    value = parsed;
    return true;
}

} // namespace

std::string FeedOptions::usage()
{
    return "Usage: pylonix-feed --out FILE [options]\n"
           "Plays a simulated football game into FILE, rewriting it after every play.\n"
           "\n"
           "  --out FILE             game file to write (required)\n"
           "  --seed N               game seed (default 1); the same seed gives the same game\n"
           "  --interval MS          pause between plays in milliseconds (default 2000, 0: no "
           "pause)\n"
           "  --write replace|inplace\n"
           "                         replace: write a temporary file and rename it over FILE\n"
           "                         inplace: truncate FILE and write it in chunks (default "
           "replace)\n"
           "  --until N              write the state after play N once and exit\n"
           "  --final                write the finished game once and exit\n"
           "  --season-dir DIR       also write DIR/home.xml and DIR/visitor.xml season files\n"
           "  --scale K              stress game: K times the plays and rosters (default 1)\n"
           "  --encoding utf-8|windows-1252\n"
           "                         file encoding (default utf-8; windows-1252 has no "
           "declaration)\n"
           "  --shape full|real      full: yards on every play and drive records (default)\n"
           "                         real: as stats-entry programs write it: no yards on the\n"
           "                         plays, no drive records, timeouts on the downtogo line\n"
           "  --help                 show this text\n"
           "  --version              show the version\n";
}

FeedParseResult FeedOptions::parse(const std::vector<std::string> &arguments)
{
    FeedOptions options;
    const auto fail = [](std::string message) {
        return FeedParseResult{std::nullopt, std::move(message)};
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = name.find('=');
            name.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--version") {
            options.version = true;
            continue;
        }
        if (name == "--final") {
            options.final = true;
            continue;
        }
        static const char *const valued[] = {"--out",   "--seed",     "--interval",
                                             "--write", "--until",    "--season-dir",
                                             "--scale", "--encoding", "--shape"};
        bool known = false;
        for (const char *option : valued)
            known = known || name == option;
        if (!known)
            return fail("unknown option '" + arguments[i] + "'");
        if (!inlineValue && i + 1 >= arguments.size())
            return fail("option " + name + " needs a value");
        const std::string value = inlineValue ? *inlineValue : arguments[++i];
        if (name == "--out") {
            if (value.empty())
                return fail("--out needs a file name");
            options.out = value;
        } else if (name == "--seed") {
            if (!parseNumber<std::uint64_t>(value, 0, UINT64_MAX, options.seed))
                return fail("--seed expects a non-negative integer, not '" + value + "'");
        } else if (name == "--interval") {
            if (!parseNumber(value, 0, 3600000, options.intervalMs))
                return fail("--interval expects milliseconds from 0 to 3600000, not '" + value +
                            "'");
        } else if (name == "--write") {
            if (value == "replace")
                options.writeMode = WriteMode::Replace;
            else if (value == "inplace")
                options.writeMode = WriteMode::Inplace;
            else
                return fail("--write expects replace or inplace, not '" + value + "'");
        } else if (name == "--until") {
            int play = 0;
            if (!parseNumber(value, 0, 1000000, play))
                return fail("--until expects a play number of 0 or more, not '" + value + "'");
            options.until = play;
        } else if (name == "--season-dir") {
            if (value.empty())
                return fail("--season-dir needs a directory");
            options.seasonDir = value;
        } else if (name == "--scale") {
            if (!parseNumber(value, 1, 100, options.scale))
                return fail("--scale expects an integer from 1 to 100, not '" + value + "'");
        } else if (name == "--encoding") {
            const std::optional<Encoding> encoding = encodingFromName(value);
            if (!encoding)
                return fail("--encoding expects utf-8 or windows-1252, not '" + value + "'");
            options.encoding = *encoding;
        } else if (name == "--shape") {
            if (value == "full")
                options.shape = FileShape::Full;
            else if (value == "real")
                options.shape = FileShape::Real;
            else
                return fail("--shape expects full or real, not '" + value + "'");
        }
    }
    if (options.help || options.version)
        return FeedParseResult{options, {}};
    if (options.out.empty())
        return fail("--out FILE is required");
    if (options.final && options.until)
        return fail("--until and --final cannot be combined");
    return FeedParseResult{options, {}};
}

} // namespace pylonix::feed
