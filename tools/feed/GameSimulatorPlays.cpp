#include "GameSimulator.h"

#include <algorithm>
#include <cstdlib>

namespace pylonix::feed
{

namespace
{

std::string yardsText(int yards)
{
    if (yards == 0)
        return "no gain";
    if (yards < 0)
        return "loss of " + std::to_string(-yards) + (yards == -1 ? " yard" : " yards");
    return std::to_string(yards) + (yards == 1 ? " yard" : " yards");
}

// Yards of a return: "0 yards" rather than "no gain".
std::string returnText(int yards)
{
    return yards == 0 ? "0 yards" : yardsText(yards);
}

std::string ordinal(int quarter)
{
    static const char *const names[] = {"1st", "2nd", "3rd", "4th"};
    return quarter >= 1 && quarter <= 4 ? names[quarter - 1] : std::to_string(quarter) + "th";
}

} // namespace

void GameSimulator::scrimmage()
{
    if (quarterMarkerDue_) {
        beginPlay();
        quarterMarker(context());
        return;
    }
    if (maybeTimeout())
        return;
    beginPlay();
    const int fieldGoalDistance = 117 - spot_;
    const int lead = margin(offense_);
    if (down_ < 4 && spot_ >= 10 && lead > 0 &&
        ((quarter_ == 4 && ticksLeft_ <= 120) ||
         (quarter_ == 2 && ticksLeft_ <= 30 && spot_ < 50))) {
        kneel();
        return;
    }
    if (lateInHalf() && ticksLeft_ <= 12 && fieldGoalDistance <= 55 &&
        (quarter_ == 2 || (lead <= 0 && lead >= -3))) {
        fieldGoal();
        return;
    }
    if (down_ == 4 && overtime_) {
        // No punts in overtime: a field goal when it is enough, else go for it.
        if (fieldGoalDistance <= 52 && lead >= -3) {
            fieldGoal();
            return;
        }
    } else if (down_ == 4) {
        const int toGo = lineToGain_ - spot_;
        const bool desperate =
            quarter_ == 4 && ticksLeft_ < 300 && lead < 0 && (lead < -3 || fieldGoalDistance > 55);
        bool goForIt = desperate;
        if (!goForIt && fieldGoalDistance <= 52)
            goForIt = toGo <= 1 && spot_ >= 95 && random_.chance(400);
        else if (!goForIt)
            goForIt = (toGo <= 1 && spot_ >= 40 && random_.chance(550)) ||
                      (toGo <= 2 && spot_ >= 55 && random_.chance(300));
        if (!goForIt) {
            if (fieldGoalDistance <= 52)
                fieldGoal();
            else
                punt();
            return;
        }
    }
    if (maybePenalty())
        return;
    const int toGo = lineToGain_ - spot_;
    int passChance = 450;
    if (toGo >= 7 && down_ >= 2)
        passChance = 780;
    else if (toGo <= 2)
        passChance = 250;
    if (quarter_ == 4 && ticksLeft_ < 420 && lead < 0)
        passChance = 750;
    else if (quarter_ == 4 && ticksLeft_ < 420 && lead > 0)
        passChance = 250;
    if (random_.chance(passChance))
        passPlay();
    else
        rushPlay();
}

bool GameSimulator::maybeTimeout()
{
    if (lastWasTimeout_ || ticksLeft_ <= 0)
        return false;
    int team = -1;
    if (lateInHalf()) {
        const int defense = 1 - offense_;
        if (margin(defense) <= 0 && state_.team(defense).timeoutsLeft() > 0 && random_.chance(350))
            team = defense;
        else if (margin(offense_) <= 0 && state_.team(offense_).timeoutsLeft() > 0 &&
                 random_.chance(250))
            team = offense_;
    } else if (random_.chance(12)) {
        team = random_.below(2);
    }
    if (team < 0 || state_.team(team).timeoutsLeft() == 0)
        return false;
    beginPlay();
    state_.team(team).useTimeout();
    logPlay(context(), "#", "", 0,
            "Timeout " + state_.team(team).name() + ", clock " + clockText() + ".", true);
    return true;
}

void GameSimulator::quarterMarker(const std::string &ctx)
{
    quarterMarkerDue_ = false;
    const std::string period = quarter_ <= 4   ? ordinal(quarter_) + " quarter"
                               : quarter_ == 5 ? std::string("overtime")
                                               : ordinal(quarter_ - 4) + " overtime";
    logPlay(ctx, "#", "", 0, "Start of " + period + ", clock " + clockText() + ".", true);
}

void GameSimulator::kneel()
{
    const int team = state_.team(offense_).teamPlayer();
    const Gain gain = measure(-std::min(2, spot_ - 1));
    player(offense_, team).stats.recordRush(gain.yards, false);
    const std::string text = "TEAM rush for " + yardsText(gain.yards) + " to " +
                             spotText(offense_, spot_ + gain.yards) + ".";
    const std::string ctx = context();
    logPlay(ctx, "R", "", gain.yards, text, false);
    runClock(40);
    finishSnap(gain, 'R', "", "", "");
}

int GameSimulator::rushYards()
{
    const int roll = random_.below(100);
    if (roll < 8)
        return -random_.between(1, 4);
    if (roll < 17)
        return 0;
    if (roll < 85)
        return 1 + random_.below(4) + random_.below(5);
    if (roll < 97)
        return random_.between(9, 20);
    return random_.between(21, 75);
}

int GameSimulator::passYards()
{
    const int roll = random_.below(100);
    if (roll < 3)
        return -random_.between(1, 3);
    if (roll < 22)
        return random_.between(1, 5);
    if (roll < 70)
        return random_.between(6, 14);
    if (roll < 94)
        return random_.between(15, 30);
    return random_.between(31, 80);
}

// Seconds the clock runs after a snap, including the time until the next snap.
int GameSimulator::playTicks(bool clockStops)
{
    if (clockStops)
        return random_.between(4, 8);
    if (lateInHalf() && margin(offense_) <= 0)
        return random_.between(8, 18);
    return random_.between(24, 40);
}

int GameSimulator::pickDepth(int team, Position position)
{
    const std::vector<int> group = state_.team(team).playersAt(position);
    if (group.empty())
        return -1;
    const int n = static_cast<int>(group.size());
    // Starters are named most often, backups now and then.
    const int depth = std::min({random_.below(n), random_.below(n), random_.below(n)});
    return group[static_cast<std::size_t>(depth)];
}

int GameSimulator::pick(int team, std::initializer_list<std::pair<Position, int>> weights)
{
    int total = 0;
    for (const auto &weight : weights)
        total += weight.second;
    int roll = random_.below(total);
    for (const auto &weight : weights) {
        if (roll < weight.second) {
            const int index = pickDepth(team, weight.first);
            if (index >= 0)
                return index;
            break;
        }
        roll -= weight.second;
    }
    for (const auto &weight : weights) {
        const std::vector<int> group = state_.team(team).playersAt(weight.first);
        if (!group.empty())
            return group.front();
    }
    return state_.team(team).teamPlayer();
}

// Credits the tackle(s) of a ball carrier and returns the text in parentheses.
std::string GameSimulator::tacklers(int team, int ballCarrierYards, bool forLoss, bool specialTeams)
{
    const int first = specialTeams ? pick(team, {{Position::Linebacker, 45},
                                                 {Position::DefensiveBack, 45},
                                                 {Position::Receiver, 10}})
                                   : pick(team, {{Position::Linebacker, 45},
                                                 {Position::DefensiveBack, 35},
                                                 {Position::DefensiveLine, 20}});
    int second = -1;
    if (random_.chance(280)) {
        second = pick(team, {{Position::Linebacker, 40},
                             {Position::DefensiveBack, 30},
                             {Position::DefensiveLine, 30}});
        if (second == first)
            second = -1;
    }
    const int lossYards = forLoss && ballCarrierYards < 0 ? -ballCarrierYards : 0;
    PlayerStats &a = player(team, first).stats;
    std::string text = player(team, first).shortName;
    if (second < 0) {
        ++a.tackUa;
        if (lossYards > 0) {
            ++a.tflUa;
            a.tflYds += lossYards;
        }
        return text;
    }
    PlayerStats &b = player(team, second).stats;
    ++a.tackA;
    ++b.tackA;
    if (lossYards > 0) {
        ++a.tflA;
        ++b.tflA;
        a.tflYds += lossYards;
    }
    return text + ";" + player(team, second).shortName;
}

void GameSimulator::rushPlay()
{
    rush(pick(offense_,
              {{Position::RunningBack, 78}, {Position::Quarterback, 15}, {Position::Receiver, 7}}),
         rushYards());
}

void GameSimulator::rush(int runner, int yards)
{
    const int defense = 1 - offense_;
    const std::string ctx = context();
    const Gain gain = measure(yards);
    const int ticks = playTicks(false);
    Player &carrier = player(offense_, runner);
    const bool fumble = !gain.touchdown && !gain.safety && random_.chance(16);
    if (fumble && random_.chance(500)) {
        carrier.stats.recordRush(gain.yards, false);
        const std::string text = carrier.shortName + " rush for " + yardsText(gain.yards) + " to " +
                                 spotText(offense_, spot_ + gain.yards);
        fumbleLost(runner, spot_ + gain.yards, text, ctx, "R", gain.yards, ticks);
        return;
    }
    carrier.stats.recordRush(gain.yards, gain.touchdown);
    std::string text = carrier.shortName + " rush for " + yardsText(gain.yards) + " to " +
                       spotText(offense_, spot_ + gain.yards);
    std::string safetyBy;
    text += gainText(gain, ticks);
    if (fumble) {
        const int forcer =
            pick(defense, {{Position::Linebacker, 50}, {Position::DefensiveBack, 50}});
        text += keptFumbleText(carrier, forcer, spot_ + gain.yards);
    }
    if (!gain.touchdown) {
        const std::string tackledBy = tacklers(defense, gain.yards, true, false);
        safetyBy = tackledBy.substr(0, tackledBy.find(';'));
        text += " (" + tackledBy + ")";
    }
    text += ".";
    logPlay(ctx, "R", gain.firstDown ? "R" : "", gain.yards, text, gain.touchdown || gain.safety);
    runClock(ticks);
    finishSnap(gain, 'R', carrier.shortName, "", safetyBy);
}

void GameSimulator::passPlay()
{
    const int defense = 1 - offense_;
    const std::vector<int> quarterbacks = state_.team(offense_).playersAt(Position::Quarterback);
    if (quarterbacks.empty()) {
        rushPlay();
        return;
    }
    const bool blowout =
        quarter_ == 4 && std::abs(margin(offense_)) >= 24 && quarterbacks.size() > 1;
    const int passer = quarterbacks[blowout ? 1 : 0];
    Player &qb = player(offense_, passer);
    const std::string ctx = context();
    const int roll = random_.below(1000);
    if (roll < 65) {
        // Sacked: a rushing attempt of the passer under these rules.
        const Gain gain = measure(-random_.between(2, 10));
        const int sacker =
            pick(defense, {{Position::DefensiveLine, 60}, {Position::Linebacker, 40}});
        PlayerStats &d = player(defense, sacker).stats;
        const int loss = -gain.yards;
        ++d.sackUa;
        d.sackYds += loss;
        ++d.tackUa;
        if (loss > 0) {
            ++d.tflUa;
            d.tflYds += loss;
        }
        ++qb.stats.passSacks;
        qb.stats.recordRush(gain.yards, false);
        std::string text = qb.shortName + " sacked for " + yardsText(gain.yards) + " to " +
                           spotText(offense_, spot_ + gain.yards);
        if (gain.safety)
            text += ", SAFETY";
        text += " (" + player(defense, sacker).shortName + ").";
        logPlay(ctx, "P", "", gain.yards, text, gain.safety);
        runClock(playTicks(false));
        finishSnap(gain, 'R', "", "", player(defense, sacker).shortName);
        return;
    }
    if (roll < 105) {
        rush(passer, std::min(rushYards(), 15)); // scramble
        return;
    }
    const int target =
        pick(offense_,
             {{Position::Receiver, 62}, {Position::TightEnd, 22}, {Position::RunningBack, 16}});
    Player &receiver = player(offense_, target);
    if (roll < 135) {
        interception(passer, target);
        return;
    }
    if (roll < 480) {
        ++qb.stats.passAtt;
        std::string text = qb.shortName + " pass incomplete to " + receiver.shortName;
        if (random_.chance(250)) {
            const int defender =
                pick(defense, {{Position::DefensiveBack, 80}, {Position::Linebacker, 20}});
            ++player(defense, defender).stats.brup;
            text += ", broken up by " + player(defense, defender).shortName;
        }
        text += ".";
        logPlay(ctx, "P", "", 0, text, false);
        runClock(playTicks(true));
        finishSnap(measure(0), 'P', "", "", "");
        return;
    }
    const Gain gain = measure(passYards());
    const int ticks = playTicks(false);
    const bool fumble = !gain.touchdown && !gain.safety && random_.chance(12);
    std::string text = qb.shortName + " pass complete to " + receiver.shortName + " for " +
                       yardsText(gain.yards) + " to " + spotText(offense_, spot_ + gain.yards);
    if (fumble && random_.chance(500)) {
        qb.stats.recordCompletion(gain.yards, false);
        receiver.stats.recordReception(gain.yards, false);
        fumbleLost(target, spot_ + gain.yards, text, ctx, "P", gain.yards, ticks);
        return;
    }
    qb.stats.recordCompletion(gain.yards, gain.touchdown);
    receiver.stats.recordReception(gain.yards, gain.touchdown);
    std::string safetyBy;
    text += gainText(gain, ticks);
    if (fumble) {
        const int forcer =
            pick(defense, {{Position::DefensiveBack, 70}, {Position::Linebacker, 30}});
        text += keptFumbleText(receiver, forcer, spot_ + gain.yards);
    }
    if (!gain.touchdown) {
        const std::string tackledBy = tacklers(defense, gain.yards, false, false);
        safetyBy = tackledBy.substr(0, tackledBy.find(';'));
        text += " (" + tackledBy + ")";
    }
    text += ".";
    logPlay(ctx, "P", gain.firstDown ? "P" : "", gain.yards, text, gain.touchdown || gain.safety);
    runClock(ticks);
    finishSnap(gain, 'P', receiver.shortName, qb.shortName, safetyBy);
}

void GameSimulator::interception(int passer, int target)
{
    const int defense = 1 - offense_;
    const std::string ctx = context();
    Player &qb = player(offense_, passer);
    ++qb.stats.passAtt;
    ++qb.stats.passInt;
    const int defender = pick(defense, {{Position::DefensiveBack, 80}, {Position::Linebacker, 20}});
    Player &picker = player(defense, defender);
    const int caughtAt = std::min(99, spot_ + random_.between(5, 30)); // offense-relative
    const int defenseSpot = 100 - caughtAt;
    int returnYards = random_.chance(40) ? caughtAt : random_.between(0, 25);
    returnYards = std::min(returnYards, 100 - defenseSpot);
    if (overtime_)
        returnYards = std::min(returnYards, 99 - defenseSpot); // possession ends; no return score
    const bool touchdown = defenseSpot + returnYards >= 100;
    ++picker.stats.defInt;
    picker.stats.defIntYds += returnYards;
    picker.stats.ir.record(returnYards, touchdown);
    const int ticks = playTicks(false);
    std::string text = qb.shortName + " pass intercepted by " + picker.shortName + " at " +
                       spotText(offense_, caughtAt) + ", " + picker.shortName + " return " +
                       returnText(returnYards) + " to " +
                       spotText(defense, defenseSpot + returnYards);
    if (touchdown) {
        text += ", TOUCHDOWN, clock " + clockText(ticksLeft_ - std::min(ticks, ticksLeft_));
    } else {
        const int roll = random_.below(100);
        const int tackler = roll < 45   ? target
                            : roll < 70 ? passer
                                        : pick(offense_, {{Position::RunningBack, 40},
                                                          {Position::TightEnd, 30},
                                                          {Position::Lineman, 30}});
        ++player(offense_, tackler).stats.tackUa;
        text += " (" + player(offense_, tackler).shortName + ")";
    }
    text += ".";
    logPlay(ctx, "P", "", 0, text, true);
    runClock(ticks);
    countConversion(false);
    changePossession("INT", spot_, touchdown ? defenseSpot : defenseSpot + returnYards, "INT");
    if (touchdown)
        this->touchdown("INT", picker.shortName, "", returnYards);
}

void GameSimulator::fumbleLost(int carrier, int atSpot, const std::string &playText,
                               const std::string &ctx, const std::string &type, int yards,
                               int ticks)
{
    const int defense = 1 - offense_;
    Player &loser = player(offense_, carrier);
    ++loser.stats.fumbles;
    ++loser.stats.fumblesLost;
    const int forcer = pick(defense, {{Position::Linebacker, 50}, {Position::DefensiveBack, 50}});
    const int recoverer = pick(
        defense,
        {{Position::DefensiveLine, 40}, {Position::Linebacker, 35}, {Position::DefensiveBack, 25}});
    ++player(defense, forcer).stats.ff;
    Player &recovering = player(defense, recoverer);
    ++recovering.stats.defFr;
    const int defenseSpot = 100 - atSpot;
    const bool touchdown = random_.chance(60) && !overtime_;
    const int returnYards = touchdown ? atSpot : std::min(random_.between(0, 6), atSpot - 1);
    recovering.stats.fr.record(returnYards, touchdown);
    std::string text = playText + ", fumble forced by " + player(defense, forcer).shortName +
                       ", fumble by " + loser.shortName + " recovered by " + teamId(defense) + " " +
                       recovering.shortName + " at " + spotText(defense, defenseSpot);
    if (returnYards != 0 || touchdown)
        text += ", " + recovering.shortName + " return " + yardsText(returnYards) + " to " +
                spotText(defense, defenseSpot + returnYards);
    if (touchdown)
        text += ", TOUCHDOWN, clock " + clockText(ticksLeft_ - std::min(ticks, ticksLeft_));
    text += ".";
    logPlay(ctx, type, "", yards, text, true);
    runClock(ticks);
    countConversion(false);
    changePossession("FUMB", atSpot, touchdown ? defenseSpot : defenseSpot + returnYards, "FUMB");
    if (touchdown)
        this->touchdown("FUMB", recovering.shortName, "", returnYards);
}

// Accepted penalties, logged as no play.
bool GameSimulator::maybePenalty()
{
    struct Foul {
        const char *name;
        int yards;
        bool byOffense;
        bool automaticFirst;
        bool beforeSnap;
    };
    static const Foul fouls[] = {
        {"false start", 5, true, false, true},         {"offside", 5, false, false, true},
        {"holding", 10, true, false, false},           {"holding", 10, false, false, false},
        {"pass interference", 15, false, true, false}, {"personal foul", 15, false, true, false},
        {"illegal formation", 5, true, false, true},   {"delay of game", 5, true, false, true}};
    static const int weights[] = {22, 16, 20, 10, 10, 8, 6, 8};
    if (!random_.chance(85))
        return false;
    int roll = random_.below(100);
    std::size_t which = 0;
    while (which + 1 < std::size(fouls) && roll >= weights[which])
        roll -= weights[which++];
    const Foul &foul = fouls[which];
    const int penalized = foul.byOffense ? offense_ : 1 - offense_;
    // Half the distance to the goal when the full penalty would reach it.
    const int room = foul.byOffense ? spot_ : 100 - spot_;
    const int yards = std::min(foul.yards, room / 2);
    if (yards <= 0)
        return false;
    const int signedYards = foul.byOffense ? -yards : yards;
    const std::string ctx = context();
    const bool first = !foul.byOffense && (foul.automaticFirst || spot_ + yards >= lineToGain_);
    std::string text = "PENALTY " + teamId(penalized) + " " + foul.name;
    if (!foul.beforeSnap || random_.chance(500)) {
        const int offender =
            foul.byOffense ? pick(penalized, {{Position::Lineman, 70}, {Position::Receiver, 30}})
                           : pick(penalized, {{Position::DefensiveBack, 50},
                                              {Position::Linebacker, 30},
                                              {Position::DefensiveLine, 20}});
        if (foul.name != std::string("delay of game"))
            text += " (" + player(penalized, offender).shortName + ")";
    }
    text += " " + std::to_string(yards) + (yards == 1 ? " yard" : " yards") + " to " +
            spotText(offense_, spot_ + signedYards);
    if (first)
        text += ", 1ST DOWN " + teamId(offense_);
    text += foul.beforeSnap ? "." : ", NO PLAY.";
    TeamTotals &counters = state_.team(penalized).counters();
    ++counters.penalties;
    counters.penaltyYds += yards;
    logPlay(ctx, "E", first ? "E" : "", signedYards, text, false);
    runClock(foul.beforeSnap ? 0 : playTicks(true));
    spot_ += signedYards;
    if (first) {
        ++state_.team(offense_).counters().firstDownsPenalty;
        down_ = 1;
        lineToGain_ = std::min(100, spot_ + 10);
    }
    return true;
}

std::string GameSimulator::gainText(const Gain &gain, int ticks) const
{
    std::string text;
    if (gain.touchdown)
        text += ", TOUCHDOWN, clock " + clockText(ticksLeft_ - std::min(ticks, ticksLeft_));
    else if (gain.firstDown)
        text += ", 1ST DOWN " + teamId(offense_);
    if (gain.safety)
        text += ", SAFETY";
    return text;
}

std::string GameSimulator::keptFumbleText(Player &carrier, int forcer, int spot)
{
    Player &defender = player(1 - offense_, forcer);
    ++defender.stats.ff;
    ++carrier.stats.fumbles;
    return ", fumble forced by " + defender.shortName + ", fumble by " + carrier.shortName +
           " recovered by " + teamId(offense_) + " " + carrier.shortName + " at " +
           spotText(offense_, spot);
}

} // namespace pylonix::feed
