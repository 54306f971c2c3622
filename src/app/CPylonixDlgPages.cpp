#include "app/CPylonixDlg.h"

#include "app/DriveChartsPage.h"
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
        add(LayoutRole::LineScore, 1);
        add(LayoutRole::SituationText, 1);
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
        drivesList->setVisible(drivePage && !playsMode());
    if (playsList)
        playsList->setVisible(drivePage && playsMode());

    const bool ownPlace = page_ == PAGE_PLAY_BY_PLAY || page_ == PAGE_DRIVE_CHARTS;
    periodBox_->setVisible(ownPlace);
    container_->setVisible(!ownPlace);

    container_->SetBackgroundColor(RGB(255, 255, 255));
    // Every page, and the page again after a reload, starts at its top. The
    // same page at its top already keeps its scroll bars, unrepainted.
    if (page_ != shownPage_ || ContainerScroll() != QPoint(0, 0))
        SetContainerContentSize(QSize(0, 0));
    Layout();
    // Opened during a game, the play-by-play starts at the newest play, not
    // at the kickoff; a finished game reads from its start.
    if (page_ == PAGE_PLAY_BY_PLAY && shownPage_ != PAGE_PLAY_BY_PLAY &&
        !session_->scoreboard().final)
        pages_->playByPlay->ShowNewest();
    shownPage_ = page_;
    RepaintHeader();
}

void CPylonixDlg::RepaintHeader()
{
    // The window paints only its header; the controls repaint what changed in them.
    HeaderState header = CurrentHeaderState();
    if (!shownHeader_)
        update();
    else if (const QRect changed = HeaderChangedRect(*shownHeader_, header, width());
             !changed.isEmpty())
        update(changed);
    shownHeader_ = std::move(header);
}

void CPylonixDlg::FillPage(int page)
{
    if (page == PAGE_OVERVIEW) {
        FillOverview();
    } else if (page == PAGE_DRIVE_CHARTS) {
        FillDriveCharts();
    } else if (const auto shown = PageOfCode(page)) {
        pages_->Fill(shown->tables, *session_, {period_, settings_.showTOP});
        filledPages_ |= page;
    }
}

void CPylonixDlg::FillOverview()
{
    pages_->Fill(TablePage::TeamStats, *session_, {period_, settings_.showTOP});
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
    drivePage_->Fill(*session_, period_, settings_.showTOP);
    filledPages_ |= PAGE_DRIVE_CHARTS;
}

bool CPylonixDlg::playsMode() const
{
    return drivePage_->playsMode();
}

void CPylonixDlg::ChoosePeriod(int index)
{
    periodBox_->setCurrentIndex(index);
    OnPeriodChanged(index);
}

void CPylonixDlg::OnPeriodChanged(int index)
{
    drivePage_->OnPeriodChanged();
    period_ = index;
    filledPages_ &= ~(PAGE_PLAY_BY_PLAY | PAGE_DRIVE_CHARTS);
    ShowPage();
}

void CPylonixDlg::RefillDriveCharts()
{
    FillDriveCharts();
    Layout();
    update();
}

void CPylonixDlg::SetDrivesMode(bool playsMode)
{
    drivePage_->SetDrivesMode(playsMode, page_ == PAGE_DRIVE_CHARTS);
}
