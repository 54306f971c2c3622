#include "app/CPylonixDlg.h"

#include "drivechart/CDriveChartWnd.h"
#include "gamedata/GameSession.h"
#include "gridctrl/CZrGridListCtrl.h"
#include "pages/CPageContainerWnd.h"
#include "pages/StatPages.h"
#include "views/OverviewText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

std::vector<QWidget *> CPylonixDlg::PageControls(int page) const
{
    std::vector<std::pair<LayoutRole, int>> roles;
    const auto add = [&roles](LayoutRole role, int count) {
        for (int i = 0; i < count; ++i)
            roles.emplace_back(role, i);
    };
    switch (page) {
    case PAGE_OVERVIEW:
        add(LayoutRole::TeamStats, 1);
        add(LayoutRole::OverviewText, 1);
        break;
    case PAGE_OFFENSE:
        add(LayoutRole::Passing, 2);
        add(LayoutRole::Rushing, 2);
        add(LayoutRole::Receiving, 2);
        add(LayoutRole::OffenseTitle, 6);
        break;
    case PAGE_DEFENSE:
        add(LayoutRole::Defense, 2);
        break;
    case PAGE_SPECIAL_TEAMS:
        add(LayoutRole::SpecialTeams, 14);
        add(LayoutRole::SpecialTitle, 14);
        break;
    case PAGE_SCORING:
        add(LayoutRole::Scoring, 1);
        break;
    case PAGE_PLAY_BY_PLAY:
        add(LayoutRole::PlayByPlay, 1);
        break;
    case PAGE_DRIVE_CHARTS:
        add(LayoutRole::DriveChart, 1);
        add(LayoutRole::DriveText, 1);
        add(LayoutRole::ScoringOnly, 1);
        add(LayoutRole::HomeButton, 1);
        add(LayoutRole::VisitorButton, 1);
        add(LayoutRole::BothButton, 1);
        add(LayoutRole::Hint, 1);
        add(LayoutRole::Splitter, 1);
        break;
    default:
        break;
    }
    std::vector<QWidget *> controls;
    for (const auto &[role, index] : roles) {
        if (QWidget *control = Control(role, index))
            controls.push_back(control);
    }
    return controls;
}

void CPylonixDlg::ShowPage()
{
    const int checked = pageGroup_->checkedId();
    if (checked >= 0)
        page_ = kPageCodes[checked];

    for (const int page : kPageCodes) {
        const bool current = page == page_;
        if (current && (filledPages_ & page) == 0)
            FillPage(page);
        for (QWidget *control : PageControls(page))
            control->setVisible(current);
    }
    // The drives list and the plays list share their place; the mode picks one.
    QWidget *drivesList = Control(LayoutRole::DriveLists, 0);
    QWidget *playsList = Control(LayoutRole::DriveLists, 1);
    const bool drivePage = page_ == PAGE_DRIVE_CHARTS;
    if (drivesList)
        drivesList->setVisible(drivePage && !playsMode_);
    if (playsList)
        playsList->setVisible(drivePage && playsMode_);

    const bool ownPlace = page_ == PAGE_PLAY_BY_PLAY || page_ == PAGE_DRIVE_CHARTS;
    periodBox_->setVisible(ownPlace);
    container_->setVisible(!ownPlace);

    container_->SetBackgroundColor(RGB(255, 255, 255));
    SetContainerContentSize(QSize(0, 0));
    Layout();
    update();
}

void CPylonixDlg::FillPage(int page)
{
    if (page == PAGE_OVERVIEW) {
        FillOverview();
    } else if (page == PAGE_DRIVE_CHARTS) {
        FillDriveCharts();
    } else if (const auto shown = PageOfCode(page)) {
        pages_->Fill(shown->key, *session_, {period_, settings_.showTOP});
        filledPages_ |= page;
    }
}

void CPylonixDlg::FillOverview()
{
    pages_->Fill("team_stats", *session_, {period_, settings_.showTOP});
    overviewText_->setText(
        QString::fromStdString(BuildOverviewText(session_->teams(), session_->game())));
    filledPages_ |= PAGE_OVERVIEW;
}

void CPylonixDlg::EnsureOverviewFilled()
{
    if ((filledPages_ & PAGE_OVERVIEW) == 0)
        FillOverview();
}

QString CPylonixDlg::OverviewText() const
{
    return overviewText_->text();
}

void CPylonixDlg::FillDriveCharts()
{
    CDriveChartData &drives = session_->drives();
    drives.quarter = period_;
    drives.homeOnly = teamButtons_[0]->isChecked() ? 1 : 0;
    drives.visitorOnly = teamButtons_[1]->isChecked() ? 1 : 0;
    drives.scoringOnly = scoringOnly_->isChecked() ? 1 : 0;
    drives.LoadDrives(session_->game(), session_->teams());
    driveChart_->SetShowTOP(settings_.showTOP);
    RepaintDriveChart();
    pages_->Fill("drives", *session_, {period_, settings_.showTOP});

    teamButtons_[0]->setText(QString::fromStdString(session_->team(0).GetTeamValue("Short Name")));
    teamButtons_[1]->setText(QString::fromStdString(session_->team(1).GetTeamValue("Short Name")));
    filledPages_ |= PAGE_DRIVE_CHARTS;
}

void CPylonixDlg::RepaintDriveChart()
{
    driveChart_->UpdateGeometry();
    driveChart_->LayoutRows();
    driveChart_->viewport()->update();
}

void CPylonixDlg::ClearDriveSelection()
{
    session_->drives().SetSelected(-1);
    driveChart_->Select(-1);
    for (CZrGridListCtrl *list : {static_cast<CZrGridListCtrl *>(pages_->driveList),
                                  static_cast<CZrGridListCtrl *>(pages_->playList)}) {
        for (int row = 0; row < list->GetItemCount(); ++row)
            list->SetItemState(row, 0, LVIS_SELECTED);
    }
}

void CPylonixDlg::OnSelectDriveRow(int row)
{
    for (CZrGridListCtrl *list : {static_cast<CZrGridListCtrl *>(pages_->driveList),
                                  static_cast<CZrGridListCtrl *>(pages_->playList)}) {
        for (int other = 0; other < list->GetItemCount(); ++other)
            list->SetItemState(other, 0, LVIS_SELECTED);
        if (row >= 0 && row < list->GetItemCount()) {
            list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            list->EnsureVisible(row, false);
        }
    }
}

void CPylonixDlg::OnSelectChartDrive(int index)
{
    driveChart_->Select(index);
    driveChart_->EnsureVisible(driveChart_->selected());
    driveChart_->UpdateReadout();
    driveChart_->viewport()->update();
}

void CPylonixDlg::ChoosePeriod(int index)
{
    periodBox_->setCurrentIndex(index);
    OnPeriodChanged(index);
}

void CPylonixDlg::OnPeriodChanged(int index)
{
    ClearDriveSelection();
    driveText_->clear();
    period_ = index;
    filledPages_ &= ~(PAGE_PLAY_BY_PLAY | PAGE_DRIVE_CHARTS);
    ShowPage();
}

void CPylonixDlg::OnDriveFilterChanged()
{
    ClearDriveSelection();
    driveChart_->OnVScroll(CDriveChartWnd::SB_TOP, 0);
    driveText_->clear();
    RefillDriveCharts();
}

void CPylonixDlg::RefillDriveCharts()
{
    FillDriveCharts();
    Layout();
    update();
}

void CPylonixDlg::SetDrivesMode(bool playsMode)
{
    playsMode_ = playsMode;
    hint_->setText(playsMode
                       ? QStringLiteral("Right click on the field to view the drives list again.")
                       : QStringLiteral("Double click on a drive to view individual plays."));
    if (playsMode)
        session_->drives().ShowPlaysOf(playsDrive_);
    else
        session_->drives().ShowDrives();
    session_->drives().SetSelected(-1);
    ClearDriveSelection();
    const bool drivePage = page_ == PAGE_DRIVE_CHARTS;
    if (QWidget *drivesList = Control(LayoutRole::DriveLists, 0))
        drivesList->setVisible(drivePage && !playsMode);
    if (QWidget *playsList = Control(LayoutRole::DriveLists, 1))
        playsList->setVisible(drivePage && playsMode);
    periodBox_->setEnabled(!playsMode);
    scoringOnly_->setEnabled(!playsMode);
    for (QPushButton *button : teamButtons_)
        button->setEnabled(!playsMode);
}

void CPylonixDlg::OnShowDrivePlays(int driveIndex)
{
    playsDrive_ = driveIndex;
    SetDrivesMode(true);
    RefillDriveCharts();
}

void CPylonixDlg::OnShowDriveList()
{
    SetDrivesMode(false);
    RefillDriveCharts();
}
