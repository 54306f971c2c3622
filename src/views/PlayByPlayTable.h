#pragma once

#include "StatTable.h"
#include "platform/Colors.h"

#include <span>

class CGameDocument;
class CTeamStats;
class GameSession;
class TextWrapper;

// Background of a score line, and of every other play.
constexpr COLORREF kScoreLineColor = RGB(255, 255, 128);
constexpr COLORREF kShadedPlayColor = RGB(224, 224, 224);

// What the play-by-play shows besides the game: the period (0 the whole
// game), whether drive summaries give the time of possession, and the width
// of the "Play" column its texts are wrapped to.
struct PlayByPlayOptions {
    int period = 0;
    bool showTOP = false;
    int playColumnWidth = 300;
};

// The Play-by-Play page as a table: every element the stat crew logged in the
// quarters, in file order: plays (their text wrapped to the "Play" column, all
// lines of one play in one shade, alternating white and light grey from each
// drive start), drive starts, drive summaries, comments, score lines and
// quarter ends. Team names and short names are texts of other elements and
// are cut short; a play's own text never is.
class PlayByPlayTable
{
public:
    static constexpr int kPlayColumn = 2;

    // The four columns, the "Play" column `playColumnWidth` wide.
    static std::vector<TableColumn> Columns(int playColumnWidth);
    // The page of `session`'s game, its play texts wrapped by `wrapper` to the
    // "Play" column less its margins.
    static StatTable Build(const GameSession &session, const PlayByPlayOptions &options,
                           const TextWrapper &wrapper);
    // The same from a game document and its two game teams (home first).
    static StatTable Build(const CGameDocument &document, std::span<const CTeamStats, 2> teams,
                           const PlayByPlayOptions &options, const TextWrapper &wrapper);
};
