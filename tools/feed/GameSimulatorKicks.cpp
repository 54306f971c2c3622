#include "GameSimulator.h"

#include <algorithm>

namespace pylonix::feed
{

namespace
{

std::string yards(int count)
{
    return std::to_string(count) + (count == 1 ? " yard" : " yards");
}

} // namespace

void GameSimulator::kickoff()
{
    beginPlay();
    const int kicking = kickingTeam_;
    const int receiving = 1 - kicking;
    const std::string ctx = contextFor(kicking, 0, 0, kickFrom_);
    const bool freeKick = kickFrom_ != 35;
    const std::vector<int> punters = state_.team(kicking).playersAt(Position::Punter);
    const std::vector<int> kickers = state_.team(kicking).playersAt(Position::Kicker);
    const int kickerIndex = freeKick && !punters.empty() ? punters.front()
                            : !kickers.empty()           ? kickers.front()
                                                         : state_.team(kicking).teamPlayer();
    Player &kicker = player(kicking, kickerIndex);
    const int toGoal = 100 - kickFrom_;
    const bool touchback = random_.chance(freeKick ? 100 : 560);
    int landing = 0; // receiving team's yard line where the ball is caught
    int returnYards = 0;
    int returner = -1;
    if (!touchback) {
        landing = freeKick ? random_.between(12, 35) : random_.between(0, 9);
        returner = pick(receiving, {{Position::DefensiveBack, 50}, {Position::Receiver, 50}});
        returnYards = random_.chance(25) ? random_.between(35, 100)
                                         : 10 + random_.below(13) + random_.below(13);
        returnYards = std::min(returnYards, 100 - landing);
    }
    const bool touchdown = !touchback && landing + returnYards >= 100;
    const int kickYards = toGoal - landing;
    const int ticks = touchback ? 0 : random_.between(5, 12);

    offense_ = receiving;
    spot_ = touchback ? 25 : touchdown ? landing : landing + returnYards;
    startDrive("KO");
    if (quarterMarkerDue_) {
        quarterMarker(ctx);
        beginPlay();
    }
    ++kicker.stats.koNo;
    kicker.stats.koYds += kickYards;
    std::string text =
        kicker.shortName + " kickoff " + yards(kickYards) + " to " + spotText(receiving, landing);
    if (touchback) {
        ++kicker.stats.koTb;
        text += ", touchback.";
    } else {
        Player &runner = player(receiving, returner);
        runner.stats.kr.record(returnYards, touchdown);
        text += ", " + runner.shortName + " return " + yards(returnYards) + " to " +
                spotText(receiving, landing + returnYards);
        if (touchdown)
            text += ", TOUCHDOWN, clock " + clockText(ticksLeft_ - std::min(ticks, ticksLeft_));
        else
            text += " (" + tacklers(kicking, returnYards, false, true) + ")";
        text += ".";
    }
    logPlay(ctx, "K", "", kickYards, text, true);
    runClock(ticks);
    next_ = Next::Scrimmage;
    if (touchdown)
        this->touchdown("KO", player(receiving, returner).shortName, "", returnYards);
}

void GameSimulator::punt()
{
    const int receiving = 1 - offense_;
    const std::string ctx = context();
    const std::vector<int> punters = state_.team(offense_).playersAt(Position::Punter);
    const int punterIndex = punters.empty() ? state_.team(offense_).teamPlayer() : punters.front();
    Player &punter = player(offense_, punterIndex);
    const int lineOfScrimmage = spot_;
    const int ticks = random_.between(8, 14);

    if (spot_ <= 12 && random_.chance(70)) {
        // A snap over the punter's head and out of the end zone: a team safety.
        logPlay(ctx, "U", "", -spot_,
                punter.shortName + " punt, bad snap, ball out of the end zone, SAFETY, clock " +
                    clockText(ticksLeft_ - std::min(ticks, ticksLeft_)) + ".",
                true);
        runClock(ticks);
        spot_ = 0;
        safety("TEAM");
        return;
    }
    if (random_.chance(12)) {
        const int blocker = pick(receiving, {{Position::DefensiveLine, 40},
                                             {Position::Linebacker, 30},
                                             {Position::DefensiveBack, 30}});
        ++punter.stats.puntNo;
        ++punter.stats.puntBlkd;
        ++player(receiving, blocker).stats.defBlkd;
        const int recoveredAt = std::max(1, spot_ - random_.between(3, 9));
        logPlay(ctx, "U", "", 0,
                punter.shortName + " punt blocked by " + player(receiving, blocker).shortName +
                    ", recovered by " + teamId(receiving) + " at " +
                    spotText(offense_, recoveredAt) + ".",
                true);
        runClock(ticks);
        changePossession("PUNT", lineOfScrimmage, 100 - recoveredAt, "PUNT");
        return;
    }

    const int distance = 34 + random_.below(10) + random_.below(10);
    int received = 0; // receiving team's yard line after the punt and any return
    int caughtAt = 0;
    bool touchdown = false;
    int returner = -1;
    int returnYards = 0;
    int kickYards = distance;
    std::string text;
    if (spot_ + distance >= 100) {
        kickYards = 100 - spot_;
        received = 20;
        ++punter.stats.puntTb;
        text = punter.shortName + " punt " + yards(kickYards) + " to " + spotText(receiving, 0) +
               ", touchback.";
    } else {
        caughtAt = 100 - (spot_ + distance);
        received = caughtAt;
        text =
            punter.shortName + " punt " + yards(distance) + " to " + spotText(receiving, caughtAt);
        const int roll = random_.below(100);
        if (roll < 28) {
            returner = pick(receiving, {{Position::DefensiveBack, 60}, {Position::Receiver, 40}});
            text += ", fair catch by " + player(receiving, returner).shortName + ".";
        } else if (caughtAt <= 8 || (roll < 45 && caughtAt <= 20)) {
            text += ", downed.";
        } else if (roll < 55) {
            text += ", out of bounds.";
        } else {
            returner = pick(receiving, {{Position::DefensiveBack, 60}, {Position::Receiver, 40}});
            returnYards =
                random_.chance(20) ? random_.between(20, 100) : random_.below(8) + random_.below(9);
            returnYards = std::min(returnYards, 100 - caughtAt);
            touchdown = caughtAt + returnYards >= 100;
            received = caughtAt + returnYards;
            Player &runner = player(receiving, returner);
            runner.stats.pr.record(returnYards, touchdown);
            text += ", " + runner.shortName + " return " + yards(returnYards) + " to " +
                    spotText(receiving, received);
            if (touchdown)
                text += ", TOUCHDOWN, clock " + clockText(ticksLeft_ - std::min(ticks, ticksLeft_));
            else
                text += " (" + tacklers(offense_, returnYards, false, true) + ")";
            text += ".";
        }
    }
    PlayerStats &stats = punter.stats;
    stats.puntLong = stats.puntNo == 0 ? kickYards : std::max(stats.puntLong, kickYards);
    ++stats.puntNo;
    stats.puntYds += kickYards;
    stats.puntPlus50 += kickYards >= 50 ? 1 : 0;
    stats.puntInside20 += spot_ + distance < 100 && received <= 20 ? 1 : 0;
    logPlay(ctx, "U", "", kickYards, text, touchdown);
    runClock(ticks);
    changePossession("PUNT", lineOfScrimmage, touchdown ? caughtAt : received, "PUNT");
    if (touchdown)
        this->touchdown("PUNT", player(receiving, returner).shortName, "", returnYards);
}

void GameSimulator::fieldGoal()
{
    const int defense = 1 - offense_;
    const std::string ctx = context();
    const std::vector<int> kickers = state_.team(offense_).playersAt(Position::Kicker);
    const int kickerIndex = kickers.empty() ? state_.team(offense_).teamPlayer() : kickers.front();
    Player &kicker = player(offense_, kickerIndex);
    const int distance = 117 - spot_;
    const int ticks = random_.between(4, 7);
    const std::string clockAfter = clockText(ticksLeft_ - std::min(ticks, ticksLeft_));
    ++kicker.stats.fgAtt;
    std::string text = kicker.shortName + " field goal attempt from " + yards(distance);
    if (random_.chance(20)) {
        const int blocker =
            pick(defense, {{Position::DefensiveLine, 70}, {Position::Linebacker, 30}});
        ++kicker.stats.fgBlkd;
        ++player(defense, blocker).stats.defBlkd;
        text += " BLOCKED by " + player(defense, blocker).shortName + ", clock " + clockAfter + ".";
        logPlay(ctx, "F", "", 0, text, true);
        runClock(ticks);
        changePossession("FGA", spot_, 100 - spot_, "FGA");
        return;
    }
    const int chance = distance < 30   ? 960
                       : distance < 40 ? 860
                       : distance < 45 ? 760
                       : distance < 50 ? 640
                                       : 480;
    if (!random_.chance(chance)) {
        static const char *const misses[] = {"wide left", "wide right", "short"};
        text += " NO GOOD " + std::string(misses[random_.below(3)]) + ", clock " + clockAfter + ".";
        logPlay(ctx, "F", "", 0, text, true);
        runClock(ticks);
        changePossession("FGA", spot_, std::max(20, 100 - spot_), "FGA");
        return;
    }
    kicker.stats.fgLong =
        kicker.stats.fgMade == 0 ? distance : std::max(kicker.stats.fgLong, distance);
    ++kicker.stats.fgMade;
    text += " GOOD, clock " + clockAfter + ".";
    logPlay(ctx, "F", "", 0, text, true);
    runClock(ticks);
    ScoreRecord score;
    score.type = "FG";
    score.scorer = kicker.shortName;
    score.yards = distance;
    recordScore(std::move(score), offense_, 3, spot_ - drive_.start.spot);
    endDrive("FG", spot_);
    appendScoreLine(false);
    afterScore(offense_, 35);
}

bool GameSimulator::shouldGoForTwo() const
{
    const int lead = margin(offense_);
    // From the third overtime on, every try is a two-point play.
    if (quarter_ >= 7)
        return true;
    if (quarter_ == 4 && (lead == -2 || lead == -5 || lead == -10 || lead == 1 || lead == 5))
        return true;
    return false;
}

void GameSimulator::tryAfterTouchdown()
{
    beginPlay();
    const int defense = 1 - offense_;
    const std::string ctx = contextFor(offense_, 1, 3, 97);
    ScoreRecord &score = state_.scores.at(pendingTryScore_);
    std::string text;
    int points = 0;
    const bool goForTwo = shouldGoForTwo() || random_.chance(90);
    if (!goForTwo) {
        const std::vector<int> kickers = state_.team(offense_).playersAt(Position::Kicker);
        const int kickerIndex =
            kickers.empty() ? state_.team(offense_).teamPlayer() : kickers.front();
        Player &kicker = player(offense_, kickerIndex);
        ++kicker.stats.patKickAtt;
        score.patType = "KICK";
        score.patBy = kicker.shortName;
        const int roll = random_.below(1000);
        if (roll < 950) {
            ++kicker.stats.patKickMade;
            score.patResult = "GOOD";
            points = 1;
            text = kicker.shortName + " kick attempt good.";
        } else if (roll < 965) {
            const int blocker =
                pick(defense, {{Position::DefensiveLine, 80}, {Position::Linebacker, 20}});
            ++player(defense, blocker).stats.defBlkd;
            score.patResult = "BLKD";
            text = kicker.shortName + " kick attempt blocked by " +
                   player(defense, blocker).shortName + ".";
        } else {
            score.patResult = "FAIL";
            text = kicker.shortName + " kick attempt failed.";
        }
    } else if (random_.chance(500)) {
        const int runner =
            pick(offense_, {{Position::RunningBack, 75}, {Position::Quarterback, 25}});
        const bool good = random_.chance(480);
        score.patType = "RUSH";
        score.patBy = player(offense_, runner).shortName;
        score.patResult = good ? "GOOD" : "FAIL";
        points = good ? 2 : 0;
        text = player(offense_, runner).shortName + " rush attempt " + (good ? "good." : "failed.");
    } else {
        const std::vector<int> quarterbacks =
            state_.team(offense_).playersAt(Position::Quarterback);
        const int passer =
            quarterbacks.empty() ? state_.team(offense_).teamPlayer() : quarterbacks.front();
        const int target = pick(offense_, {{Position::Receiver, 60}, {Position::TightEnd, 40}});
        const bool good = random_.chance(450);
        score.patType = "PASS";
        score.patBy = player(offense_, target).shortName;
        score.patResult = good ? "GOOD" : "FAIL";
        points = good ? 2 : 0;
        text = player(offense_, passer).shortName + " pass attempt to " +
               player(offense_, target).shortName + (good ? " good." : " failed.");
    }
    logPlay(ctx, "X", "", 0, text, false);
    if (points > 0)
        state_.team(offense_).addPoints(quarter_, points);
    score.visitorScore = state_.visitor.score();
    score.homeScore = state_.home.score();
    appendScoreLine(false);
    endDrive("TD", 100);
    afterScore(offense_, 35);
}

} // namespace pylonix::feed
