#pragma once

#include "GameState.h"
#include "Random.h"

#include <cstdint>
#include <functional>
#include <string>

namespace pylonix::feed
{

// Plays one seeded game and keeps its state as the stat crew would log it:
// after every play the state is complete and consistent (totals, scores,
// drives, play-by-play), and the observer sees it.
class GameSimulator
{
public:
    // Receives the state before the first play (play 0) and after each play.
    using Observer = std::function<void(const GameState &state, int playNumber)>;

    // scale stretches the game clock: scale times the plays in the same four quarters.
    GameSimulator(std::uint64_t seed, Team home, Team visitor, int scale = 1);

    // Plays the whole game; returns the number of plays logged.
    int run(const Observer &observer);
    const GameState &state() const { return state_; }

private:
    enum class Next { Kickoff, Try, Scrimmage };

    // Result of a scrimmage gain measured against the goal lines and the line to gain.
    struct Gain {
        int yards = 0;
        bool touchdown = false;
        bool safety = false;
        bool firstDown = false;
    };

    // GameSimulator.cpp: game flow, clock, drives, scores, log.
    void beginPlay();
    void refreshDownToGo();
    void endQuarter();
    void finishGame();
    void startOvertime();
    void startOvertimePossession();
    void endOvertimePossession();
    void afterScore(int kickingTeam, int kickFrom);
    void runClock(int ticks);
    int elapsedTicks() const;
    bool lateInHalf() const;
    int margin(int team) const;
    std::string clockText(int ticksLeft) const;
    std::string clockText() const { return clockText(ticksLeft_); }
    std::string durationText(int ticks) const;
    std::string context() const;
    std::string contextFor(int team, int down, int toGo, int spot) const;
    std::string fieldSpot(int team, int spot) const;
    std::string spotText(int team, int spot) const;
    const std::string &teamId(int team) const;
    void append(const std::string &name, Attributes attributes);
    void logPlay(const std::string &context, const std::string &type, const std::string &first,
                 int yards, const std::string &text, bool withClock);
    void startDrive(const std::string &how);
    void endDrive(const std::string &how, int spot);
    void changePossession(const std::string &endHow, int endSpot, int newSpot,
                          const std::string &startHow);
    void appendScoreLine(bool final);
    void touchdown(const std::string &how, const std::string &scorer, const std::string &passer,
                   int yards);
    void safety(const std::string &scorer);
    // Gives `team` the points and logs the score with the drive's data and the
    // new totals; the caller has set the kind, scorer and yards.
    void recordScore(ScoreRecord score, int team, int points, int driveYards);
    Gain measure(int yards) const;
    // What a gain earned, for the play's text: ", TOUCHDOWN, clock ..." or
    // ", 1ST DOWN XYZ", and ", SAFETY".
    std::string gainText(const Gain &gain, int ticks) const;
    // A fumble the offense kept: credits the forcing defender and the ball
    // carrier, and returns the text for the play.
    std::string keptFumbleText(Player &carrier, int forcer, int spot);
    void finishSnap(const Gain &gain, char kind, const std::string &scorer,
                    const std::string &passer, const std::string &safetyBy);
    void countConversion(bool converted);

    // GameSimulatorPlays.cpp: scrimmage plays.
    void scrimmage();
    bool maybeTimeout();
    void quarterMarker(const std::string &context);
    void kneel();
    void rushPlay();
    void rush(int runner, int yards);
    void passPlay();
    void interception(int passer, int target);
    bool maybePenalty();
    void fumbleLost(int carrier, int atSpot, const std::string &playText, const std::string &ctx,
                    const std::string &type, int yards, int ticks);
    int rushYards();
    int passYards();
    int playTicks(bool clockStops);
    int pick(int team, std::initializer_list<std::pair<Position, int>> weights);
    int pickDepth(int team, Position position);
    Player &player(int team, int index) { return state_.team(team).player(index); }
    std::string tacklers(int team, int ballCarrierYards, bool forLoss, bool specialTeams);

    // GameSimulatorKicks.cpp: kicking plays.
    void kickoff();
    void punt();
    void fieldGoal();
    void tryAfterTouchdown();
    bool shouldGoForTwo() const;

    Random random_;
    GameState state_;
    const Observer *observer_ = nullptr;
    int scale_;
    int quarterTicks_;
    int plays_ = 0;
    int notified_ = -1;
    int sequence_ = 0;

    int quarter_ = 1;
    int ticksLeft_;
    int offense_ = 0;
    int spot_ = 25;
    int down_ = 1;
    int lineToGain_ = 35;
    Next next_ = Next::Kickoff;
    int kickingTeam_ = 0;
    int kickFrom_ = 35;
    int firstReceiver_ = 1;
    bool quarterMarkerDue_ = true;
    bool lastWasTimeout_ = false;
    bool overtime_ = false;
    int overtimeFirst_ = 0;
    int overtimePossessions_ = 0;

    bool driveActive_ = false;
    DriveRecord drive_;
    int driveStartTicks_ = 0;
    int playInDrive_ = 0;
    std::size_t pendingTryScore_ = 0;
};

} // namespace pylonix::feed
