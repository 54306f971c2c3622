#include "SeasonXmlWriter.h"

#include "StatElements.h"
#include "XmlWriter.h"

namespace pylonix::feed
{

std::string SeasonXmlWriter::write(const SeasonTeam &season, Encoding encoding)
{
    XmlWriter xml;
    xml.open("fbseas", {{"source", "pylonix-feed"}});
    xml.element("team", {{"name", season.name}, {"id", season.id}});
    for (const SeasonPlayer &line : season.players) {
        xml.open("player", {{"uni", line.player.uni},
                            {"name", line.player.name},
                            {"checkname", line.player.checkName},
                            {"gp", std::to_string(line.gamesPlayed)}});
        StatElements::writePlayer(xml, line.player.stats);
        xml.close("player");
    }
    StatElements::writeTotals(xml, season.totals);
    xml.close("fbseas");
    return encodeDocument(xml.take(), encoding);
}

} // namespace pylonix::feed
