#include "GameSimulator.h"

#include <algorithm>
#include <cstdio>

namespace pylonix::feed
{

namespace
{

constexpr int quarterSeconds = 900;
constexpr int quarters = 4;

Venue makeVenue(Random &random)
{
    Venue venue;
    venue.location = "Kestrel Bay, Ore.";
    venue.stadium = "Harrow Field at Gullwing Park";
    venue.start = "1:05 PM";
    venue.date = "10/17/2026";
    venue.attendance = std::to_string(24000 + random.below(9000));
    venue.officials = {{"ref", "Dale Brunner"},     {"ump", "Curtis Amsel"},
                       {"line", "Rafael Okonkwo"},  {"lj", "Teresa Lindahl"},
                       {"bj", "Gordon Whitcomb"},   {"fj", "Samuel Ferreira"},
                       {"sj", "Nikolai Brandvold"}, {"sc", "Priya Castell"}};
    return venue;
}

std::string letter(int team)
{
    return team == 0 ? "H" : "V";
}

} // namespace

GameSimulator::GameSimulator(std::uint64_t seed, Team home, Team visitor, int scale)
    : random_(seed), state_(Venue{}, std::move(home), std::move(visitor), scale < 1 ? 1 : scale),
      scale_(scale < 1 ? 1 : scale), quarterTicks_(quarterSeconds * scale_),
      ticksLeft_(quarterTicks_)
{
    state_.venue = makeVenue(random_);
}

int GameSimulator::run(const Observer &observer)
{
    observer_ = &observer;
    // The toss winner defers; the other team receives the opening kickoff.
    const int tossWinner = random_.below(2);
    firstReceiver_ = 1 - tossWinner;
    kickingTeam_ = tossWinner;
    state_.downToGo.clock = clockText();
    append("comment", {{"text", state_.team(tossWinner).name() + " won the toss and deferred; " +
                                    state_.team(firstReceiver_).name() + " will receive."}});
    while (!state_.final) {
        switch (next_) {
        case Next::Kickoff:
            kickoff();
            break;
        case Next::Try:
            tryAfterTouchdown();
            break;
        case Next::Scrimmage:
            scrimmage();
            break;
        }
        if (!state_.final && !overtime_ && ticksLeft_ <= 0 && next_ != Next::Try)
            endQuarter();
    }
    beginPlay();
    observer_ = nullptr;
    return plays_;
}

void GameSimulator::beginPlay()
{
    refreshDownToGo();
    if (notified_ < plays_) {
        notified_ = plays_;
        if (observer_ != nullptr && *observer_)
            (*observer_)(state_, plays_);
    }
}

void GameSimulator::refreshDownToGo()
{
    DownToGo &downToGo = state_.downToGo;
    downToGo.quarter = quarter_;
    downToGo.clock = clockText();
    // Once the game is over the line keeps the situation of the last play.
    if (state_.final)
        return;
    switch (next_) {
    case Next::Kickoff:
        downToGo.context = contextFor(kickingTeam_, 0, 0, kickFrom_);
        break;
    case Next::Try:
        downToGo.context = contextFor(offense_, 1, 3, 97);
        break;
    case Next::Scrimmage:
        downToGo.context = context();
        break;
    }
}

void GameSimulator::endQuarter()
{
    const bool endOfHalf = quarter_ % 2 == 0;
    const bool endOfRegulation = quarter_ >= quarters;
    const bool tied = margin(0) == 0;
    if (endOfHalf && driveActive_)
        endDrive(endOfRegulation && !tied ? "GAME" : "HALF", spot_);
    append("endqtr", {});
    state_.quartersPlayed = quarter_;
    if (endOfRegulation) {
        if (tied)
            startOvertime();
        else
            finishGame();
        return;
    }
    ++quarter_;
    ticksLeft_ = quarterTicks_;
    quarterMarkerDue_ = true;
    if (endOfHalf) {
        state_.home.setTimeouts(3);
        state_.visitor.setTimeouts(3);
        next_ = Next::Kickoff;
        kickingTeam_ = firstReceiver_;
        kickFrom_ = 35;
    }
}

void GameSimulator::finishGame()
{
    appendScoreLine(true);
    state_.final = true;
    // Kickoff was at 1:05 PM; games last a little over three hours.
    const int minutes = 185 + random_.below(35) + (quarter_ - quarters) * 12;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d PM", 1 + (5 + minutes) / 60, (5 + minutes) % 60);
    state_.venue.end = text;
    std::snprintf(text, sizeof text, "%d:%02d", minutes / 60, minutes % 60);
    state_.venue.duration = text;
    next_ = Next::Scrimmage;
}

// Overtime: untimed periods in which each team has one possession from the
// opponent's 25; the game ends after the first period that is not tied.
void GameSimulator::startOvertime()
{
    overtime_ = true;
    ++quarter_;
    ticksLeft_ = 0;
    overtimePossessions_ = 0;
    // The toss winner defends first.
    const int tossWinner = random_.below(2);
    overtimeFirst_ = 1 - tossWinner;
    append("comment", {{"text", state_.team(tossWinner).name() +
                                    " won the overtime toss and will defend first."}});
    startOvertimePossession();
}

void GameSimulator::startOvertimePossession()
{
    if (overtimePossessions_ == 0) {
        state_.home.setTimeouts(1);
        state_.visitor.setTimeouts(1);
        quarterMarkerDue_ = true;
    }
    offense_ = overtimePossessions_ == 0 ? overtimeFirst_ : 1 - overtimeFirst_;
    spot_ = 75;
    startDrive("OT");
    next_ = Next::Scrimmage;
}

void GameSimulator::endOvertimePossession()
{
    if (++overtimePossessions_ < 2) {
        startOvertimePossession();
        return;
    }
    append("endqtr", {});
    state_.quartersPlayed = quarter_;
    if (margin(0) != 0) {
        finishGame();
        return;
    }
    ++quarter_;
    overtimePossessions_ = 0;
    overtimeFirst_ = 1 - overtimeFirst_;
    startOvertimePossession();
}

void GameSimulator::afterScore(int kickingTeam, int kickFrom)
{
    if (overtime_) {
        endOvertimePossession();
        return;
    }
    next_ = Next::Kickoff;
    kickingTeam_ = kickingTeam;
    kickFrom_ = kickFrom;
}

void GameSimulator::runClock(int ticks)
{
    if (overtime_)
        return;
    ticks = std::clamp(ticks, 0, ticksLeft_);
    ticksLeft_ -= ticks;
    state_.team(offense_).counters().possessionSeconds += ticks;
}

int GameSimulator::elapsedTicks() const
{
    return (quarter_ - 1) * quarterTicks_ + quarterTicks_ - ticksLeft_;
}

bool GameSimulator::lateInHalf() const
{
    return !overtime_ && quarter_ % 2 == 0 && ticksLeft_ < 120;
}

int GameSimulator::margin(int team) const
{
    return state_.team(team).score() - state_.team(1 - team).score();
}

std::string GameSimulator::clockText(int ticksLeft) const
{
    const int seconds = (ticksLeft + scale_ - 1) / scale_;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60 % 100, seconds % 60);
    return text;
}

std::string GameSimulator::durationText(int ticks) const
{
    const int seconds = ticks / scale_;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60 % 100, seconds % 60);
    return text;
}

std::string GameSimulator::context() const
{
    return contextFor(offense_, down_, std::max(1, lineToGain_ - spot_), spot_);
}

std::string GameSimulator::contextFor(int team, int down, int toGo, int spot) const
{
    return letter(team) + "," + std::to_string(down) + "," + std::to_string(toGo) + "," +
           fieldSpot(team, spot);
}

std::string GameSimulator::fieldSpot(int team, int spot) const
{
    if (spot <= 50)
        return letter(team) + std::to_string(spot);
    return letter(1 - team) + std::to_string(100 - spot);
}

std::string GameSimulator::spotText(int team, int spot) const
{
    if (spot == 50)
        return "the 50";
    if (spot < 50)
        return "the " + teamId(team) + std::to_string(spot);
    return "the " + teamId(1 - team) + std::to_string(100 - spot);
}

const std::string &GameSimulator::teamId(int team) const
{
    return state_.team(team).id();
}

void GameSimulator::append(const std::string &name, Attributes attributes)
{
    state_.home.openQuarter(quarter_);
    state_.visitor.openQuarter(quarter_);
    state_.log.push_back(LogElement{name, quarter_, std::move(attributes)});
}

void GameSimulator::logPlay(const std::string &ctx, const std::string &type,
                            const std::string &first, int yards, const std::string &text,
                            bool withClock)
{
    ++sequence_;
    ++playInDrive_;
    ++plays_;
    Attributes attributes;
    attributes.emplace_back("playid", std::to_string(drive_.index) + "," +
                                          std::to_string(playInDrive_) + "," +
                                          std::to_string(sequence_));
    attributes.emplace_back("context", ctx);
    attributes.emplace_back("type", type);
    if (!first.empty())
        attributes.emplace_back("first", first);
    attributes.emplace_back("yds", std::to_string(yards));
    attributes.emplace_back("text", text);
    // The crew syncs the clock at drive starts, on kicks, scores and turnovers,
    // and on every play of a half's last two minutes.
    if (withClock || playInDrive_ == 1 || lateInHalf())
        attributes.emplace_back("clock", clockText());
    if (type == "R" || type == "P")
        ++drive_.plays;
    append("play", std::move(attributes));
    lastWasTimeout_ = type == "#" && text.rfind("Timeout", 0) == 0;
}

void GameSimulator::startDrive(const std::string &how)
{
    drive_ = DriveRecord{};
    drive_.index = static_cast<int>(state_.drives.size()) + 1;
    drive_.side = letter(offense_)[0];
    drive_.start = DriveMark{how, quarter_, clockText(), spot_};
    driveStartTicks_ = elapsedTicks();
    playInDrive_ = 0;
    driveActive_ = true;
    down_ = 1;
    lineToGain_ = std::min(100, spot_ + 10);
    const std::string spot = fieldSpot(offense_, spot_);
    append("drivestart",
           {{"driveindex", std::to_string(drive_.index) + "," + std::to_string(sequence_ + 1)},
            {"vh", letter(offense_)},
            {"spot", spot},
            {"clock", clockText()},
            {"poss", letter(offense_) + "," + spot + "," + clockText()}});
}

void GameSimulator::endDrive(const std::string &how, int spot)
{
    drive_.end = DriveMark{how, quarter_, clockText(), spot};
    drive_.yards = spot - drive_.start.spot;
    drive_.top = durationText(elapsedTicks() - driveStartTicks_);
    state_.drives.push_back(drive_);
    driveActive_ = false;
    append("drivesum", {{"driveindex", std::to_string(drive_.index)},
                        {"plays", std::to_string(drive_.plays)},
                        {"yards", std::to_string(drive_.yards)},
                        {"top", drive_.top}});
}

void GameSimulator::changePossession(const std::string &endHow, int endSpot, int newSpot,
                                     const std::string &startHow)
{
    endDrive(endHow, endSpot);
    if (overtime_) {
        endOvertimePossession();
        return;
    }
    offense_ = 1 - offense_;
    spot_ = newSpot;
    startDrive(startHow);
    next_ = Next::Scrimmage;
}

void GameSimulator::appendScoreLine(bool final)
{
    Attributes attributes = {{"V", std::to_string(state_.visitor.score())},
                             {"H", std::to_string(state_.home.score())}};
    if (final)
        attributes.emplace_back("final", "Y");
    append("score", std::move(attributes));
}

void GameSimulator::touchdown(const std::string &how, const std::string &scorer,
                              const std::string &passer, int yards)
{
    ScoreRecord score;
    score.type = "TD";
    score.how = how;
    score.scorer = scorer;
    score.passer = passer;
    score.yards = yards;
    recordScore(std::move(score), offense_, 6, 100 - drive_.start.spot);
    pendingTryScore_ = state_.scores.size() - 1;
    spot_ = 100;
    next_ = Next::Try;
}

void GameSimulator::recordScore(ScoreRecord score, int team, int points, int driveYards)
{
    state_.team(team).addPoints(quarter_, points);
    score.side = letter(team)[0];
    score.quarter = quarter_;
    score.clock = clockText();
    score.driveYards = driveYards;
    score.driveIndex = drive_.index;
    score.drivePlays = drive_.plays;
    score.driveTop = durationText(elapsedTicks() - driveStartTicks_);
    score.visitorScore = state_.visitor.score();
    score.homeScore = state_.home.score();
    state_.scores.push_back(std::move(score));
}

void GameSimulator::safety(const std::string &scorer)
{
    ScoreRecord score;
    score.type = "SAF";
    score.scorer = scorer;
    score.yards = 0;
    recordScore(std::move(score), 1 - offense_, 2, -drive_.start.spot);
    endDrive("SAF", 0);
    appendScoreLine(false);
    // The team scored upon free-kicks from its own 20.
    afterScore(offense_, 20);
}

GameSimulator::Gain GameSimulator::measure(int yards) const
{
    Gain gain;
    gain.yards = yards;
    if (spot_ + yards >= 100) {
        gain.yards = 100 - spot_;
        gain.touchdown = true;
    } else if (spot_ + yards <= 0) {
        gain.yards = -spot_;
        gain.safety = true;
    }
    gain.firstDown = !gain.safety && spot_ + gain.yards >= lineToGain_;
    return gain;
}

void GameSimulator::countConversion(bool converted)
{
    TeamTotals &counters = state_.team(offense_).counters();
    if (down_ == 3) {
        ++counters.thirdAtt;
        counters.thirdConv += converted ? 1 : 0;
    } else if (down_ == 4) {
        ++counters.fourthAtt;
        counters.fourthConv += converted ? 1 : 0;
    }
}

// Moves the ball after a rush or pass that kept possession, scores included.
void GameSimulator::finishSnap(const Gain &gain, char kind, const std::string &scorer,
                               const std::string &passer, const std::string &safetyBy)
{
    countConversion(gain.firstDown);
    if (gain.firstDown) {
        TeamTotals &counters = state_.team(offense_).counters();
        if (kind == 'R')
            ++counters.firstDownsRush;
        else
            ++counters.firstDownsPass;
    }
    if (gain.touchdown) {
        touchdown(kind == 'R' ? "RUSH" : "PASS", scorer, passer, gain.yards);
        return;
    }
    if (gain.safety) {
        spot_ = 0;
        safety(safetyBy);
        return;
    }
    spot_ += gain.yards;
    if (gain.firstDown) {
        down_ = 1;
        lineToGain_ = std::min(100, spot_ + 10);
    } else if (down_ == 4) {
        changePossession("DOWNS", spot_, 100 - spot_, "DOWNS");
    } else {
        ++down_;
    }
}

} // namespace pylonix::feed
