#pragma once

#include "views/PlayerCategories.h"

#include <QString>
#include <array>
#include <span>
#include <string>
#include <vector>

class CGameDocument;
class CSeasonStats;
class CTeamStats;

// What the Individual Player window shows of one player: his line, his game
// and season values per category, and every play whose text names him.
struct PlayerContent {
    // One category's lines: one text per column after the caption column
    // (separators empty); the season line is empty without a season player.
    struct Category {
        bool shown = false; // the category's test value is a number other than 0
        std::vector<QString> game;
        std::vector<QString> season;
    };

    // One play naming the player, as the plays list shows it.
    struct Play {
        QString down;      // down and distance, "%d-%d"
        QString ballOn;    // the short name of the side the ball is on and the yard line
        QString text;      // the play's text, unwrapped
        QString typeMark;  // PlayTypeMark of the play
        bool grey = false; // the light grey shade (the shades alternate, white first)
    };

    QString title;      // "#" + number + " " + name
    QString playsLabel; // "Plays involving " + name
    std::array<Category, kPlayerCategoryCount> categories;
    std::vector<Play> plays;

    // The content for player `player` of team `team` (0 home, 1 visitor):
    // game values from `gameTeams`, season values from `seasonTeams` (matched
    // by "Check Name"), plays from `game`.
    static PlayerContent Build(std::span<const CTeamStats, 2> gameTeams,
                               std::span<const CSeasonStats, 2> seasonTeams,
                               const CGameDocument &game, int team, int player);

    // The key a play's text must contain: the short name after its last
    // space, in upper case ("J. Smith" -> "SMITH").
    static QString SurnameKey(const QString &shortName);
    // The type column of a play: "r" or "p" for a rush or pass, replaced by
    // "&R", "&P" or "&X" for a first down by rush, pass or penalty, else a
    // space; then the yards.
    static QString PlayTypeMark(const QString &type, const QString &first, const QString &yards);
};
