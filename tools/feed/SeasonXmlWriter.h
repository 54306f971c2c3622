#pragma once

#include "SeasonBuilder.h"
#include "TextEncoding.h"

#include <string>

namespace pylonix::feed
{

// Renders one team's season as an fbseas document.
class SeasonXmlWriter
{
public:
    static std::string write(const SeasonTeam &season, Encoding encoding = Encoding::Utf8);
};

} // namespace pylonix::feed
