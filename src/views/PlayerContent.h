#pragma once

#include "views/PlayerCategories.h"
#include "views/StatTable.h"

#include <QString>
#include <QStringList>
#include <array>
#include <span>
#include <string>
#include <vector>

class CGameDocument;
class CSeasonStats;
class CTeamStats;
class TextWrapper;

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
        QString down;              // down and distance, "%d-%d"
        QString ballOn;            // the short name of the side the ball is on and the yard line
        QString text;              // the play's text, unwrapped
        QStringList lines;         // the text wrapped to the "Play" column, one line a row
        QString typeMark;          // PlayTypeMark of the play, with its yards
        bool yardsDerived = false; // the file gave no yards; they were worked out
        bool grey = false;         // the light grey shade (the shades alternate, white first)
    };

    static constexpr int kPlayColumn = 2;
    static constexpr int kPlayColumnWidth = 300;

    QString title;      // "#" + number + " " + name
    QString playsLabel; // "Plays involving " + name
    std::array<Category, kPlayerCategoryCount> categories;
    std::vector<Play> plays;
    int playColumnWidth = kPlayColumnWidth; // the width the plays were wrapped for

    // The content for player `player` of team `team` (0 home, 1 visitor):
    // game values from `gameTeams`, season values from `seasonTeams` (matched
    // by "Check Name"), plays from `game`, their texts wrapped by `wrapper`
    // to a "Play" column `playColumnWidth` wide less its margins. A play
    // without yards of its own shows those its text or the next spot tells
    // (nothing when neither does).
    static PlayerContent Build(std::span<const CTeamStats, 2> gameTeams,
                               std::span<const CSeasonStats, 2> seasonTeams,
                               const CGameDocument &game, int team, int player,
                               const TextWrapper &wrapper, int playColumnWidth = kPlayColumnWidth);

    // The heading over the category tables: "Game and Season Stats".
    static QString Heading();
    // The columns of a category table: the empty caption column, then the
    // category's columns (separators centred, values right-aligned).
    static std::vector<TableColumn> CategoryColumns(int category);
    // The four columns of the plays list, "Play" `playColumnWidth` wide.
    static std::vector<TableColumn> PlaysColumns(int playColumnWidth);
    // A category table: the "GM" and "SEA" lines, separator cells in the
    // button-face colour.
    StatTable CategoryTable(int category) const;
    // The plays list: one row per line of a play's text, the first with its
    // down, ball position and type mark, all of them in the play's shade.
    StatTable PlaysTable() const;
    // The row of the plays list each play starts on.
    std::vector<int> PlayFirstRows() const;

    // The key a play's text must contain: the short name after its last
    // space, in upper case ("J. Smith" -> "SMITH").
    static QString SurnameKey(const QString &shortName);
    // The type column of a play: "r" or "p" for a rush or pass, replaced by
    // "&R", "&P" or "&X" for a first down by rush, pass or penalty, else a
    // space; then the yards.
    static QString PlayTypeMark(const QString &type, const QString &first, const QString &yards);
};
