#pragma once

#include "StatTable.h"

#include <string>

class CGameDocument;
class GameSession;

// The Scoring plays page as a table: one row per score of the game file, with
// a description made from the score's attributes, the drive, the time of
// possession (a column of width 0 without a caption when it is not shown) and
// the score, home first. A score that leaves out its drive's plays, yards or
// time of possession takes them from the drive its "driveindex" names (the
// file's record, or the drive worked out from the plays); what neither gives
// is shown empty. Home rows are black on white, visitor rows white on grey.
class ScoringTable
{
public:
    static constexpr int kTopColumn = 5;

    // The seven columns, the time of possession's shown or not.
    static std::vector<TableColumn> Columns(bool showTOP);
    static StatTable Build(const GameSession &session, bool showTOP);
    static StatTable Build(const CGameDocument &document, bool showTOP);

    // The "Play" text of a score from its attributes (each "0" when missing).
    struct ScoreFacts {
        std::string type, how, scorer, yards, passer, patType, patBy, patResult;
    };
    static QString Describe(const ScoreFacts &score);
};
