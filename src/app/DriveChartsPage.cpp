#include "app/DriveChartsPage.h"

#include "drivechart/CDriveChartWnd.h"
#include "drivechart/CSplitterBar.h"
#include "gamedata/GameSession.h"
#include "pages/CDriveListGrid.h"
#include "pages/CPlayListGrid.h"
#include "pages/StatPages.h"
#include "platform/CheckBoxes.h"
#include "platform/ControlIds.h"
#include "platform/Fonts.h"
#include "views/ChartEntryMatch.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace
{

const QString kDrivesHint = QStringLiteral("Double click on a drive to view individual plays.");
const QString kNothingHint = QStringLiteral("This game file has no drives and no plays.");
const QString kPlaysHint =
    QStringLiteral("Right click on the field to view the drives list again.");

} // namespace

DriveChartsPage::DriveChartsPage(QWidget *dialog, StatPages &pages)
    : QObject(dialog), pages_(pages), drivesList_(pages.driveList), playsList_(pages.playList)
{
    chart_ = new CDriveChartWnd(dialog, IDC_DRIVE_CHART);
    chart_->hide();
    connect(chart_, &CDriveChartWnd::driveTextChanged, this, &DriveChartsPage::showDriveText);
    connect(chart_, &CDriveChartWnd::driveRowSelected, this, &DriveChartsPage::SelectDriveRow);
    connect(chart_, &CDriveChartWnd::drivePlaysRequested, this, &DriveChartsPage::ShowDrivePlays);
    connect(chart_, &CDriveChartWnd::driveListRequested, this, &DriveChartsPage::ShowDriveList);
    for (CChartListGrid *list :
         {static_cast<CChartListGrid *>(drivesList_), static_cast<CChartListGrid *>(playsList_)})
        connect(list, &CChartListGrid::chartDriveSelected, this,
                &DriveChartsPage::SelectChartDrive);

    driveText_ = new QPlainTextEdit(dialog);
    SetDlgCtrlID(driveText_, IDC_DRIVE_TEXT);
    driveText_->setReadOnly(true);
    driveText_->setFont(DialogFont());
    // The sunken client edge.
    driveText_->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    driveText_->hide();

    scoringOnly_ = new QCheckBox(QStringLiteral("Scoring Only"), dialog);
    SetDlgCtrlID(scoringOnly_, IDC_SCORING_ONLY);
    scoringOnly_->setFont(DialogFont());
    UseClassicCheckBoxSpacing(*scoringOnly_); // "Scoring Only" fits its 80 pixels
    scoringOnly_->hide();
    connect(scoringOnly_, &QCheckBox::clicked, this, &DriveChartsPage::onFilterChanged);

    auto *teamGroup = new QButtonGroup(this);
    teamGroup->setExclusive(true);
    for (int i = 0; i < 3; ++i) {
        auto *button = new QPushButton(i == 2 ? QStringLiteral("Both") : QString(), dialog);
        SetDlgCtrlID(button, IDC_HOME_TEAM + i);
        button->setCheckable(true);
        button->setAutoDefault(false);
        teamGroup->addButton(button, i);
        teamButtons_[i] = button;
        connect(button, &QPushButton::clicked, this, &DriveChartsPage::onFilterChanged);
    }
    teamButtons_[2]->setChecked(true);

    hint_ = new QLabel(kDrivesHint, dialog);
    SetDlgCtrlID(hint_, IDC_DRIVE_HINT);
    hint_->setFont(DialogFont());

    splitter_ = new CSplitterBar(dialog, IDC_SPLITTER);
    splitter_->hide();
}

DriveChartsPage::~DriveChartsPage() = default;

void DriveChartsPage::Fill(const GameSession &session, int period, bool showTOP)
{
    filter_.quarter = period;
    filter_.homeOnly = teamButtons_[0]->isChecked();
    filter_.visitorOnly = teamButtons_[1]->isChecked();
    filter_.scoringOnly = scoringOnly_->isChecked();
    filter_.playsOfDrive = playsMode_ ? std::optional<int>(playsDrive_) : std::nullopt;
    CDriveChartData loaded =
        CDriveChartData::Load(session.game(), session.teams(), filter_, drives_);
    // The chart draws the same drives the same way again: it is left unrepainted.
    const bool redraw = !chartFilled_ || showTOP != chart_->ShowTOP() || loaded != chart_->Drives();
    drives_ = std::move(loaded);
    chartFilled_ = true;
    if (redraw) {
        chart_->SetShowTOP(showTOP);
        chart_->SetDrives(drives_);
        repaintChart();
    }
    // Fitted to the page as every fill of the lists is: the plays of a drive
    // need a wider "Play" column than the drives shown before them.
    pages_.FillDriveLists(drives_, showTOP);
    if (!playsMode_)
        hint_->setText(drives_.hasDrivesOrPlays() ? kDrivesHint : kNothingHint);

    teamButtons_[0]->setText(QString::fromStdString(session.team(0).GetTeamValue("Short Name")));
    teamButtons_[1]->setText(QString::fromStdString(session.team(1).GetTeamValue("Short Name")));

    if (keptSelection_) {
        const int index = FindSameChartEntry(drives_, *keptSelection_);
        keptSelection_.reset();
        if (index >= 0) {
            SelectDriveRow(index);
            SelectChartDrive(index);
        }
    }
}

int DriveChartsPage::FourLineTextHeight() const
{
    constexpr int kLines = 4;
    constexpr int kSmallestHeight = 50;
    // The lines as the text is laid out (in fractions of a pixel), the
    // document's margin above and below, and the sunken edge.
    const qreal lines = kLines * QFontMetricsF(driveText_->font()).lineSpacing() +
                        2 * driveText_->document()->documentMargin();
    const int height = static_cast<int>(std::ceil(lines)) + 2 * driveText_->frameWidth() + 1;
    return std::max(kSmallestHeight, height);
}

void DriveChartsPage::repaintChart()
{
    chart_->UpdateGeometry();
    chart_->viewport()->update();
}

void DriveChartsPage::showDriveText(const QString &text)
{
    // The read-out is sent again on every reload; the same text is not laid out and repainted anew.
    if (driveText_->toPlainText() != text)
        driveText_->setPlainText(text);
}

void DriveChartsPage::KeepSelectionAcrossReload()
{
    const int selected = chart_->selected();
    std::optional<CChartItem> kept;
    if (selected >= 0 && selected < drives_.count())
        kept = drives_.item(selected);
    else
        kept = keptSelection_; // a second reload before the page was filled again
    ClearSelection();
    keptSelection_ = std::move(kept);
}

void DriveChartsPage::ClearSelection()
{
    keptSelection_.reset();
    chart_->Select(-1);
    for (CZrGridListCtrl *list : {static_cast<CZrGridListCtrl *>(drivesList_),
                                  static_cast<CZrGridListCtrl *>(playsList_)}) {
        for (int row = 0; row < list->GetItemCount(); ++row)
            list->SetItemState(row, 0, LVIS_SELECTED);
    }
}

void DriveChartsPage::OnPeriodChanged()
{
    ClearSelection();
    driveText_->clear();
}

void DriveChartsPage::onFilterChanged()
{
    ClearSelection();
    chart_->OnVScroll(DriveChartScroll::Top, 0);
    driveText_->clear();
    emit refillRequested();
}

void DriveChartsPage::SelectDriveRow(int row)
{
    for (CZrGridListCtrl *list : {static_cast<CZrGridListCtrl *>(drivesList_),
                                  static_cast<CZrGridListCtrl *>(playsList_)}) {
        for (int other = 0; other < list->GetItemCount(); ++other)
            list->SetItemState(other, 0, LVIS_SELECTED);
        if (row >= 0 && row < list->GetItemCount()) {
            list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            list->EnsureVisible(row, false);
        }
    }
}

void DriveChartsPage::SelectChartDrive(int index)
{
    chart_->Select(index);
    chart_->EnsureVisible(chart_->selected());
    chart_->UpdateReadout();
    chart_->viewport()->update();
}

void DriveChartsPage::SetDrivesMode(bool playsMode, bool pageShown)
{
    playsMode_ = playsMode;
    hint_->setText(playsMode ? kPlaysHint : kDrivesHint);
    if (!playsMode)
        playsDrive_ = 0;
    ClearSelection();
    drivesList_->setVisible(pageShown && !playsMode);
    playsList_->setVisible(pageShown && playsMode);
    if (periodBox_)
        periodBox_->setEnabled(!playsMode);
    scoringOnly_->setEnabled(!playsMode);
    for (QPushButton *button : teamButtons_)
        button->setEnabled(!playsMode);
}

void DriveChartsPage::ShowDrivePlays(int driveIndex)
{
    playsDrive_ = driveIndex;
    SetDrivesMode(true, !chart_->isHidden());
    emit refillRequested();
}

void DriveChartsPage::ShowDriveList()
{
    SetDrivesMode(false, !chart_->isHidden());
    emit refillRequested();
}
