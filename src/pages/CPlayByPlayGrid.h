#pragma once

#include "CStatGridCtrl.h"

#include <span>

class CGameDocument;

// Background of a score line, and of every other play.
constexpr COLORREF kScoreLineColor = RGB(255, 255, 128);
constexpr COLORREF kShadedPlayColor = RGB(224, 224, 224);

// The Play-by-Play page: every element the stat crew logged in the quarters,
// in file order: plays (their text wrapped to the "Play" column, all lines of
// one play in one shade, alternating white and light grey from each drive
// start), drive starts, drive summaries, comments, score lines and quarter ends.
class CPlayByPlayGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    static constexpr int kPlayColumn = 2;

    using CStatGridCtrl::CStatGridCtrl;

    void SetupColumns() override;
    // The quarter shown, 0 for the whole game; set before each fill.
    void SetQuarter(int quarter) { quarter_ = quarter; }
    int Quarter() const { return quarter_; }
    // Whether drive summaries show the time of possession; set before each fill.
    void SetShowTOP(bool show) { showTOP_ = show; }
    bool ShowTOP() const { return showTOP_; }
    // The rows from the game document; `teams` give the names and short names.
    void Fill(const CGameDocument &document, std::span<const CTeamStats, 2> teams);

private:
    int quarter_ = 0;
    bool showTOP_ = false;
};
