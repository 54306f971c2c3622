#pragma once

#include "CStatGridCtrl.h"

class CGameDocument;

// The Scoring plays page: one row per score of the game file, with a
// description made from the score's attributes, the drive, the time of
// possession (a zero-width column when it is not shown) and the score, home first.
class CScoringGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    static constexpr int kTopColumn = 5;

    using CStatGridCtrl::CStatGridCtrl;

    void SetupColumns() override;
    // Whether the time of possession column is shown; set before each fill.
    void SetShowTOP(bool show) { showTOP_ = show; }
    bool ShowTOP() const { return showTOP_; }
    void Fill(const CGameDocument &document);

    // The "Play" text of a score from its attributes (each "0" when missing).
    struct ScoreFacts {
        std::string type, how, scorer, yards, passer, patType, patBy, patResult;
    };
    static QString Describe(const ScoreFacts &score);

private:
    bool showTOP_ = false;
};
