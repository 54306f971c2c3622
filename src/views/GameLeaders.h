#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class GameSession;

// The game's leaders as box scores list them: per team the top three
// passers, rushers, receivers and tacklers, each with a few values.
struct GameLeaders {
    struct Leader {
        QString name;
        QStringList values; // one per column of its category

        bool operator==(const Leader &) const = default;
    };
    struct Category {
        QString key;                              // "passing", "rushing", "receiving", "tackles"
        QString title;                            // "Passing"...
        QStringList columns;                      // "C/A", "YDS", "TD", "INT" for passing
        std::array<std::vector<Leader>, 2> teams; // home first, best first, at most kMost each

        bool operator==(const Category &) const = default;
    };

    static constexpr std::size_t kMost = 3;

    std::vector<Category> categories; // passing, rushing, receiving, tackles

    // The leaders of `session`'s game: players with at least one attempt,
    // carry, catch or tackle, by yards (tacklers by total tackles), more
    // attempts first on equal yards, then in file order. The team's own line
    // ("TEAM") leads nothing.
    static GameLeaders Build(const GameSession &session);

    bool operator==(const GameLeaders &) const = default;
};
