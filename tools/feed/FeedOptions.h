#pragma once

#include "FileOutput.h"
#include "GameXmlWriter.h"
#include "TextEncoding.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pylonix::feed
{

struct FeedParseResult;

// The tool's command line.
struct FeedOptions {
    std::string out;
    std::uint64_t seed = 1;
    int intervalMs = 2000;
    WriteMode writeMode = WriteMode::Replace;
    std::optional<int> until;
    bool final = false;
    std::string seasonDir;
    int scale = 1;
    Encoding encoding = Encoding::Utf8;
    FileShape shape = FileShape::Full;
    bool help = false;
    bool version = false;

    // Parses the arguments after the program name.
    static FeedParseResult parse(const std::vector<std::string> &arguments);
    // The --help text.
    static std::string usage();
};

struct FeedParseResult {
    std::optional<FeedOptions> options;
    std::string error; // set when options is empty
};

} // namespace pylonix::feed
