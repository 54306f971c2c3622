#include "GameFileChecker.h"

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

namespace pylonix::feed::testing
{

namespace
{

int gameSeconds(int quarter, const std::string &clock)
{
    const int left = std::stoi(clock.substr(0, 2)) * 60 + std::stoi(clock.substr(3, 2));
    return (quarter - 1) * 900 + 900 - left;
}

struct Mark {
    std::string how;
    int quarter = 0;
    std::string clock;
    int spot = -1;
};

bool parseMark(const std::string &text, Mark &mark)
{
    static const std::regex pattern(R"(^([A-Z]+),([1-9]),(\d\d:[0-5]\d),(\d{1,3})$)");
    std::smatch match;
    if (!std::regex_match(text, match, pattern))
        return false;
    mark = Mark{match[1], std::stoi(match[2]), match[3], std::stoi(match[4])};
    return mark.spot <= 100;
}

int firstNumber(const char *text)
{
    return std::atoi(text);
}

// Sum of one attribute of one category element over a team's players.
int playerSum(const pugi::xml_node &team, const char *category, const char *attribute)
{
    int sum = 0;
    for (const pugi::xml_node &player : team.children("player"))
        sum += player.child(category).attribute(attribute).as_int();
    return sum;
}

void checkTotals(const pugi::xml_node &team, std::vector<std::string> &problems)
{
    const std::string side = team.attribute("vh").value();
    const pugi::xml_node totals = team.child("totals");
    if (!totals) {
        problems.push_back(side + ": no totals");
        return;
    }
    struct Pair {
        const char *totalElement;
        const char *totalAttribute;
        const char *playerElement;
        const char *playerAttribute;
    };
    static const Pair pairs[] = {{"rush", "att", "rush", "att"},
                                 {"rush", "yds", "rush", "yds"},
                                 {"rush", "gain", "rush", "gain"},
                                 {"rush", "loss", "rush", "loss"},
                                 {"pass", "att", "pass", "att"},
                                 {"pass", "comp", "pass", "comp"},
                                 {"pass", "int", "pass", "int"},
                                 {"pass", "yds", "pass", "yds"},
                                 {"fumbles", "no", "fumbles", "no"},
                                 {"fumbles", "lost", "fumbles", "lost"},
                                 {"punt", "no", "punt", "no"},
                                 {"punt", "yds", "punt", "yds"},
                                 {"kr", "no", "kr", "no"},
                                 {"kr", "yds", "kr", "yds"},
                                 {"pr", "no", "pr", "no"},
                                 {"pr", "yds", "pr", "yds"},
                                 {"ir", "no", "ir", "no"},
                                 {"ir", "yds", "ir", "yds"},
                                 {"fr", "no", "fr", "no"},
                                 {"fr", "yds", "fr", "yds"},
                                 {"defense", "sacks", "defense", "sackua"},
                                 {"defense", "sackyds", "defense", "sackyds"}};
    for (const Pair &pair : pairs) {
        const pugi::xml_attribute total =
            totals.child(pair.totalElement).attribute(pair.totalAttribute);
        const int players = playerSum(team, pair.playerElement, pair.playerAttribute);
        if (!total || total.as_int() != players)
            problems.push_back(side + ": totals " + pair.totalElement + "/@" + pair.totalAttribute +
                               " is '" + total.value() + "', players sum to " +
                               std::to_string(players));
    }
    const pugi::xml_node rush = totals.child("rush");
    if (rush.attribute("gain").as_int() - rush.attribute("loss").as_int() !=
        rush.attribute("yds").as_int())
        problems.push_back(side + ": rush gain - loss != yds");
    const pugi::xml_node firstDowns = totals.child("firstdowns");
    if (firstDowns.attribute("no").as_int() != firstDowns.attribute("rush").as_int() +
                                                   firstDowns.attribute("pass").as_int() +
                                                   firstDowns.attribute("penalty").as_int())
        problems.push_back(side + ": first downs do not add up");
    const pugi::xml_node conversions = totals.child("conversions");
    if (conversions.attribute("thirdconv").as_int() > conversions.attribute("thirdatt").as_int() ||
        conversions.attribute("fourthconv").as_int() > conversions.attribute("fourthatt").as_int())
        problems.push_back(side + ": more conversions than attempts");
    for (const char *name : {"firstdowns", "penalties", "conversions", "misc"}) {
        if (!totals.child(name))
            problems.push_back(side + ": totals lack " + name);
    }
}

} // namespace

std::vector<std::string> renderAllStates(std::uint64_t seed, int scale)
{
    const RosterFactory rosters(scale);
    GameSimulator simulator(seed, rosters.home(), rosters.visitor(), scale);
    std::vector<std::string> states;
    simulator.run([&](const GameState &state, int play) {
        EXPECT_EQ(static_cast<std::size_t>(play), states.size());
        states.push_back(GameXmlWriter::write(state));
    });
    return states;
}

bool parse(pugi::xml_document &document, const std::string &text)
{
    const pugi::xml_parse_result result = document.load_buffer(text.data(), text.size());
    EXPECT_TRUE(result) << result.description() << " at byte " << result.offset;
    return static_cast<bool>(result);
}

int scorePoints(const pugi::xml_node &score)
{
    const std::string type = score.attribute("type").value();
    if (type == "FG")
        return 3;
    if (type == "SAF")
        return 2;
    if (type != "TD")
        return 0;
    const std::string result = score.attribute("patres").value();
    const std::string kind = score.attribute("pattype").value();
    if (result != "GOOD")
        return 6;
    return kind == "KICK" ? 7 : 8;
}

std::vector<std::string> checkGameState(const pugi::xml_document &document, bool expectFinal)
{
    std::vector<std::string> problems;
    const pugi::xml_node game = document.child("fbgame");
    if (!game)
        return {"no fbgame root"};
    if (std::string(game.child("venue").child("rules").attribute("qtrs").value()) != "4" ||
        std::string(game.child("venue").child("rules").attribute("field").value()) != "100")
        problems.push_back("rules are not 4 quarters on 100 yards");

    // Teams: totals and line score.
    std::map<std::string, int> lineScore;
    for (const pugi::xml_node &team : game.children("team")) {
        const std::string side = team.attribute("vh").value();
        checkTotals(team, problems);
        const pugi::xml_node line = team.child("linescore");
        int sum = 0;
        std::string joined;
        for (const pugi::xml_node &period : line.children("lineprd")) {
            sum += period.attribute("score").as_int();
            joined += (joined.empty() ? "" : ",") + std::string(period.attribute("score").value());
        }
        if (line.attribute("score").as_int() != sum || joined != line.attribute("line").value())
            problems.push_back(side + ": line score periods do not match the score");
        lineScore[side] = line.attribute("score").as_int();
        if (team.find_child_by_attribute("player", "uni", "TM").empty())
            problems.push_back(side + ": no TEAM player");
    }
    if (lineScore.size() != 2)
        problems.push_back("not exactly one team per side");

    // Scores against the line score.
    std::map<std::string, int> scored;
    pugi::xml_node lastScore;
    for (const pugi::xml_node &score : game.child("scores").children("score")) {
        scored[score.attribute("vh").value()] += scorePoints(score);
        lastScore = score;
    }
    for (const char *side : {"H", "V"}) {
        if (scored[side] != lineScore[side])
            problems.push_back(std::string(side) + ": scores add up to " +
                               std::to_string(scored[side]) + ", line score is " +
                               std::to_string(lineScore[side]));
    }
    if (lastScore && (lastScore.attribute("vscore").as_int() != lineScore["V"] ||
                      lastScore.attribute("hscore").as_int() != lineScore["H"]))
        problems.push_back("the last score does not show the current score");

    // Play-by-play order: quarters ascending, drives opened and closed around their plays.
    const pugi::xml_node plays = game.child("plays");
    std::set<int> started;
    std::set<int> ended;
    std::map<int, int> scrimmagePlays;
    std::map<int, std::vector<int>> playTimes;
    int lastQuarter = 0;
    int finals = 0;
    int lastDrive = 0;
    for (const pugi::xml_node &quarter : plays.children("qtr")) {
        const int number = quarter.attribute("number").as_int();
        if (number != lastQuarter + 1)
            problems.push_back("quarter " + std::to_string(number) + " out of order");
        lastQuarter = number;
        for (const pugi::xml_node &child : quarter.children()) {
            const std::string name = child.name();
            if (name == "drivestart") {
                const int drive = firstNumber(child.attribute("driveindex").value());
                if (drive != lastDrive + 1 || started.count(drive) != 0)
                    problems.push_back("drive start " + std::to_string(drive) + " out of order");
                if (lastDrive > 0 && ended.count(lastDrive) == 0)
                    problems.push_back("drive " + std::to_string(drive) + " starts before " +
                                       std::to_string(lastDrive) + " ended");
                lastDrive = drive;
                started.insert(drive);
            } else if (name == "play") {
                const int drive = firstNumber(child.attribute("playid").value());
                if (started.count(drive) == 0 || ended.count(drive) != 0)
                    problems.push_back(std::string("play outside its drive: ") +
                                       child.attribute("playid").value());
                const std::string type = child.attribute("type").value();
                if (type == "R" || type == "P")
                    ++scrimmagePlays[drive];
                if (child.attribute("clock"))
                    playTimes[drive].push_back(
                        gameSeconds(number, child.attribute("clock").value()));
                const std::string first = child.attribute("first").value();
                if (!first.empty() && first != "R" && first != "P" && first != "E")
                    problems.push_back("bad first-down marker " + first);
            } else if (name == "drivesum") {
                const int drive = firstNumber(child.attribute("driveindex").value());
                if (started.count(drive) == 0 || ended.count(drive) != 0)
                    problems.push_back("drive summary without an open drive " +
                                       std::to_string(drive));
                ended.insert(drive);
            } else if (name == "score") {
                finals += std::string(child.attribute("final").value()) == "Y" ? 1 : 0;
            }
        }
    }
    if (finals != (expectFinal ? 1 : 0))
        problems.push_back("final marker count " + std::to_string(finals));
    if (plays.last_child().name() != std::string("downtogo"))
        problems.push_back("downtogo is not after the last quarter");

    // Drive list against the play-by-play.
    std::set<int> listed;
    for (const pugi::xml_node &drive : game.child("drives").children("drive")) {
        const int index = drive.attribute("driveindex").as_int();
        listed.insert(index);
        if (ended.count(index) == 0)
            problems.push_back("drive " + std::to_string(index) + " listed but not ended");
        if (drive.attribute("plays").as_int() != scrimmagePlays[index])
            problems.push_back("drive " + std::to_string(index) + " play count differs");
        Mark start;
        Mark end;
        if (!parseMark(drive.attribute("start").value(), start) ||
            !parseMark(drive.attribute("end").value(), end)) {
            problems.push_back("drive " + std::to_string(index) + " start or end malformed");
            continue;
        }
        if (drive.attribute("yards").as_int() != end.spot - start.spot)
            problems.push_back("drive " + std::to_string(index) + " yards differ from its spots");
        const int from = gameSeconds(start.quarter, start.clock);
        const int to = gameSeconds(end.quarter, end.clock);
        for (const int time : playTimes[index]) {
            if (time < from || time > to)
                problems.push_back("drive " + std::to_string(index) +
                                   " has a play outside its time");
        }
    }
    if (listed != ended)
        problems.push_back("ended drives and listed drives differ");
    for (const pugi::xml_node &score : game.child("scores").children("score")) {
        if (started.count(score.attribute("driveindex").as_int()) == 0)
            problems.push_back("score linked to a drive that never started");
    }
    return problems;
}

std::vector<std::string> checkValuePatterns(const pugi::xml_document &document)
{
    static const std::regex context(R"(^[HV],[0-4],\d{1,2},[HV]([1-9]|[1-4]\d|50)$)");
    static const std::regex spot(R"(^[HV]([1-9]|[1-4]\d|50)$)");
    static const std::regex clock(R"(^\d\d:[0-5]\d$)");
    static const std::regex playId(R"(^\d+,\d+,\d+$)");
    static const std::regex driveIndex(R"(^\d+,\d+$)");
    static const std::regex possession(R"(^[HV],[HV]\d{1,2},\d\d:[0-5]\d$)");
    static const std::regex number(R"(^-?\d+$)");
    std::vector<std::string> problems;
    const auto expect = [&](const pugi::xml_node &node, const char *attribute,
                            const std::regex &pattern) {
        const pugi::xml_attribute value = node.attribute(attribute);
        if (!value || !std::regex_match(value.value(), pattern))
            problems.push_back(std::string(node.name()) + "/@" + attribute + " = '" +
                               value.value() + "'");
    };
    const pugi::xml_node game = document.child("fbgame");
    for (const pugi::xml_node &quarter : game.child("plays").children("qtr")) {
        for (const pugi::xml_node &child : quarter.children()) {
            const std::string name = child.name();
            if (name == "play") {
                expect(child, "playid", playId);
                expect(child, "context", context);
                expect(child, "yds", number);
                if (child.attribute("clock"))
                    expect(child, "clock", clock);
                static const std::set<std::string> types = {"R", "P", "K", "U", "F", "X", "E", "#"};
                if (types.count(child.attribute("type").value()) == 0)
                    problems.push_back(std::string("play type '") +
                                       child.attribute("type").value() + "'");
                if (std::string(child.attribute("text").value()).empty())
                    problems.push_back("play without text");
            } else if (name == "drivestart") {
                expect(child, "driveindex", driveIndex);
                expect(child, "spot", spot);
                expect(child, "clock", clock);
                expect(child, "poss", possession);
            }
        }
    }
    const pugi::xml_node downToGo = game.child("plays").child("downtogo");
    expect(downToGo, "context", context);
    expect(downToGo, "clock", clock);
    for (const pugi::xml_node &drive : game.child("drives").children("drive")) {
        Mark mark;
        if (!parseMark(drive.attribute("start").value(), mark) ||
            !parseMark(drive.attribute("end").value(), mark))
            problems.push_back(std::string("drive start/end '") + drive.attribute("start").value() +
                               "' '" + drive.attribute("end").value() + "'");
    }
    for (const pugi::xml_node &score : game.child("scores").children("score")) {
        expect(score, "clock", clock);
        for (const char *name :
             {"type", "how", "vh", "qtr", "clock", "scorer", "passer", "yds", "pattype", "patby",
              "patres", "drive", "driveindex", "plays", "top", "vscore", "hscore"}) {
            if (!score.attribute(name))
                problems.push_back(std::string("score without @") + name);
        }
    }
    return problems;
}

} // namespace pylonix::feed::testing
