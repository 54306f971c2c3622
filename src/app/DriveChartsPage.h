#pragma once

#include "gamedata/CDriveChartData.h"
#include "gamedata/DriveFilter.h"

#include <QObject>
#include <array>
#include <optional>

class CDriveChartWnd;
class CDriveListGrid;
class CPlayListGrid;
class CSplitterBar;
class GameSession;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;
class StatPages;

// The Drive Charts page: the drive chart list (the drives as the filter
// buttons narrow them, or the plays of one drive), the chart that draws it,
// the drive text box that reads it out, the filter buttons, the hint line,
// the splitter and the drives and plays lists. It keeps the chart and the
// lists on the same entry and switches between drives and plays; the main
// window shows and hides its controls, places them and decides when the page
// is filled.
class DriveChartsPage : public QObject
{
    Q_OBJECT

public:
    // Creates the chart (1038), the drive text box (1044), "Scoring Only"
    // (1040), the team buttons (1041-1043, "Both" checked), the hint line
    // (1057) and the splitter (1047) as hidden children of `dialog`; the two
    // lists are those of `pages`, which stay theirs and fill them.
    DriveChartsPage(QWidget *dialog, StatPages &pages);
    ~DriveChartsPage() override;

    // Rebuilds the list from the session for the period (0 whole game, k
    // quarter k) and the filter buttons, redraws the chart and refills both
    // lists; the team buttons take the teams' short names.
    void Fill(const GameSession &session, int period, bool showTOP);

    // The period box, shared with the Play-by-Play page: disabled in plays mode.
    void SetPeriodBox(QWidget *periodBox) { periodBox_ = periodBox; }

    // Forgets the selected entry in the chart and in both lists.
    void ClearSelection();
    // A reload: the entry selected now is selected again by the next fill
    // when the new list still has it (FindSameChartEntry); until then
    // nothing is selected.
    void KeepSelectionAcrossReload();
    // A new period: no selection and an empty drive text box.
    void OnPeriodChanged();
    // Switches between the drives and the plays of the drive chosen last;
    // the lists show when `pageShown`. Does not refill.
    void SetDrivesMode(bool playsMode, bool pageShown);

    // What the chart asks for, and what the lists ask of the chart; each
    // refill is announced with refillRequested.
    void ShowDrivePlays(int driveIndex);
    void ShowDriveList();
    // Selects row `row` (-1 none) in both lists and scrolls it into view.
    void SelectDriveRow(int row);
    // Selects entry `index` in the chart (clamped), scrolls to it and reads it out.
    void SelectChartDrive(int index);

    // The drive text box's height that shows a drive's whole read-out (four
    // lines) in the box's font, and never less than 50 pixels.
    int FourLineTextHeight() const;

    // The list as the page shows it, and the filter it was built with.
    const CDriveChartData &drives() const { return drives_; }
    const DriveFilter &filter() const { return filter_; }
    bool playsMode() const { return playsMode_; }
    int playsDrive() const { return playsDrive_; }

    CDriveChartWnd *chart() const { return chart_; }
    QPlainTextEdit *driveText() const { return driveText_; }
    QCheckBox *scoringOnly() const { return scoringOnly_; }
    // Home, visitor, "Both".
    const std::array<QPushButton *, 3> &teamButtons() const { return teamButtons_; }
    QLabel *hint() const { return hint_; }
    CSplitterBar *splitter() const { return splitter_; }
    CDriveListGrid *drivesList() const { return drivesList_; }
    CPlayListGrid *playsList() const { return playsList_; }

signals:
    // A filter or the mode changed: the page must be filled again and laid out.
    void refillRequested();

private:
    void onFilterChanged();
    void repaintChart();
    void showDriveText(const QString &text);

    CDriveChartData drives_;
    DriveFilter filter_;
    bool playsMode_ = false;
    bool chartFilled_ = false; // the chart has been given drives once
    int playsDrive_ = 0;
    std::optional<CChartItem> keptSelection_;

    CDriveChartWnd *chart_ = nullptr;
    QPlainTextEdit *driveText_ = nullptr;
    QCheckBox *scoringOnly_ = nullptr;
    std::array<QPushButton *, 3> teamButtons_{};
    QLabel *hint_ = nullptr;
    CSplitterBar *splitter_ = nullptr;
    StatPages &pages_;
    CDriveListGrid *drivesList_ = nullptr;
    CPlayListGrid *playsList_ = nullptr;
    QWidget *periodBox_ = nullptr;
};
