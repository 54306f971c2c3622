#include "GameXmlWriter.h"

#include "StatElements.h"
#include "XmlWriter.h"

namespace pylonix::feed
{

namespace
{

std::string n(int value)
{
    return std::to_string(value);
}

std::string driveMark(const DriveMark &mark)
{
    return mark.how + "," + n(mark.quarter) + "," + mark.clock + "," + n(mark.spot);
}

} // namespace

std::string GameXmlWriter::write(const GameState &state, Encoding encoding, FileShape shape)
{
    XmlWriter xml;
    xml.open("fbgame", {{"source", "pylonix-feed"}});
    writeVenue(xml, state);
    writeTeam(xml, state, state.visitor);
    writeTeam(xml, state, state.home);
    writeScores(xml, state);
    if (shape == FileShape::Full)
        writeDrives(xml, state);
    writePlays(xml, state, shape);
    xml.close("fbgame");
    return encodeDocument(xml.take(), encoding);
}

void GameXmlWriter::writeVenue(XmlWriter &xml, const GameState &state)
{
    const Venue &venue = state.venue;
    xml.open("venue", {{"gameid", venue.date + " " + state.visitor.id() + " at " + state.home.id()},
                       {"visid", state.visitor.id()},
                       {"homeid", state.home.id()},
                       {"visname", state.visitor.name()},
                       {"homename", state.home.name()},
                       {"date", venue.date},
                       {"location", venue.location},
                       {"stadium", venue.stadium},
                       {"start", venue.start},
                       {"end", venue.end},
                       {"duration", venue.duration},
                       {"attend", venue.attendance}});
    xml.element("rules", {{"qtrs", "4"}, {"field", "100"}});
    xml.element("officials", venue.officials);
    xml.close("venue");
}

void GameXmlWriter::writeTeam(XmlWriter &xml, const GameState &state, const Team &team)
{
    xml.open("team", {{"vh", std::string(1, team.side())},
                      {"id", team.id()},
                      {"name", team.name()},
                      {"record", team.record()}});
    std::string line;
    for (const int points : team.pointsByQuarter())
        line += (line.empty() ? "" : ",") + n(points);
    xml.open("linescore", {{"prds", n(static_cast<int>(team.pointsByQuarter().size()))},
                           {"line", line},
                           {"score", n(team.score())}});
    for (std::size_t i = 0; i < team.pointsByQuarter().size(); ++i)
        xml.element("lineprd",
                    {{"prd", n(static_cast<int>(i) + 1)}, {"score", n(team.pointsByQuarter()[i])}});
    xml.close("linescore");
    xml.element("timeouts", {{"left", n(team.timeoutsLeft())}});
    StatElements::writeTotals(xml, team.totals(state.ticksPerSecond));
    for (const Player &player : team.players()) {
        xml.open("player", {{"uni", player.uni},
                            {"name", player.name},
                            {"shortname", player.shortName},
                            {"checkname", player.checkName},
                            {"gp", "1"}});
        StatElements::writePlayer(xml, player.stats);
        xml.close("player");
    }
    xml.close("team");
}

void GameXmlWriter::writeScores(XmlWriter &xml, const GameState &state)
{
    xml.open("scores");
    for (const ScoreRecord &score : state.scores) {
        // Every attribute on every score, empty where it does not apply (the
        // try of a touchdown not yet tried, the passer of a run).
        const Attributes attributes = {{"type", score.type},
                                       {"how", score.how},
                                       {"vh", std::string(1, score.side)},
                                       {"qtr", n(score.quarter)},
                                       {"clock", score.clock},
                                       {"scorer", score.scorer},
                                       {"passer", score.passer},
                                       {"yds", n(score.yards)},
                                       {"pattype", score.patType},
                                       {"patby", score.patBy},
                                       {"patres", score.patResult},
                                       {"drive", n(score.driveYards)},
                                       {"driveindex", n(score.driveIndex)},
                                       {"plays", n(score.drivePlays)},
                                       {"top", score.driveTop},
                                       {"vscore", n(score.visitorScore)},
                                       {"hscore", n(score.homeScore)}};
        xml.element("score", attributes);
    }
    xml.close("scores");
}

void GameXmlWriter::writeDrives(XmlWriter &xml, const GameState &state)
{
    xml.open("drives");
    for (const DriveRecord &drive : state.drives) {
        xml.element("drive", {{"driveindex", n(drive.index)},
                              {"vh", std::string(1, drive.side)},
                              {"plays", n(drive.plays)},
                              {"yards", n(drive.yards)},
                              {"top", drive.top},
                              {"start", driveMark(drive.start)},
                              {"end", driveMark(drive.end)}});
    }
    xml.close("drives");
}

void GameXmlWriter::writePlays(XmlWriter &xml, const GameState &state, FileShape shape)
{
    xml.open("plays");
    int open = 0;
    for (const LogElement &element : state.log) {
        if (element.quarter != open) {
            if (open != 0)
                xml.close("qtr");
            open = element.quarter;
            xml.open("qtr", {{"number", n(open)}});
        }
        if (shape == FileShape::Real && element.isPlay()) {
            Attributes attributes = element.attributes;
            std::erase_if(attributes,
                          [](const auto &attribute) { return attribute.first == "yds"; });
            xml.element(element.name, attributes);
        } else {
            xml.element(element.name, element.attributes);
        }
    }
    if (open != 0)
        xml.close("qtr");
    const DownToGo &downToGo = state.downToGo;
    Attributes attributes = {
        {"qtr", n(downToGo.quarter)}, {"clock", downToGo.clock}, {"context", downToGo.context}};
    if (shape == FileShape::Real) {
        attributes.emplace_back("htoh", n(state.home.timeoutsLeft()));
        attributes.emplace_back("vtoh", n(state.visitor.timeoutsLeft()));
    }
    xml.element("downtogo", attributes);
    xml.close("plays");
}

} // namespace pylonix::feed
