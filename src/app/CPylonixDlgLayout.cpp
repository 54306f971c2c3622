#include "app/CPylonixDlg.h"

#include "app/CLineScoreView.h"
#include "app/DriveChartsPage.h"
#include "gamedata/GameSession.h"
#include "gridctrl/CZrGridListCtrl.h"
#include "pages/CPageContainerWnd.h"
#include "pages/StatPages.h"
#include "platform/DialogUnits.h"
#include "platform/Fonts.h"
#include "platform/SystemMetrics.h"
#include "views/ColumnFitting.h"
#include "views/PageTable.h"
#include "views/SituationView.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>

QSize NaturalTableSize(const CZrGridListCtrl &table)
{
    const QSize view = table.ApproximateViewRect();
    return QSize(std::max(view.width(), 100), view.height() - GetSystemMetrics(SM_CYHSCROLL) - 1);
}

namespace
{

// The tables a page shows fitted to its width.
std::optional<TablePage> FittedTablesOfPage(int page)
{
    const std::optional<PageInfo> info = PageOfCode(page);
    return info ? std::optional(info->tables) : std::nullopt;
}

} // namespace

QRect CPylonixDlg::PageButtonRect(int index) const
{
    return MapDialogRect(QRect(0, 50 + 15 * index, 85, 15));
}

void CPylonixDlg::Layout()
{
    LayoutInput input;
    input.client = size();
    input.scroll = ContainerScroll();
    input.page = page_;
    const auto natural = [this](LayoutRole role, int index = 0) {
        const auto *table = qobject_cast<const CZrGridListCtrl *>(Control(role, index));
        return table ? NaturalTableSize(*table) : QSize(0, 0);
    };
    input.teamStats = natural(LayoutRole::TeamStats);
    for (int team = 0; team < 2; ++team) {
        input.passing[team] = natural(LayoutRole::Passing, team);
        input.rushing[team] = natural(LayoutRole::Rushing, team);
        input.receiving[team] = natural(LayoutRole::Receiving, team);
        input.defense[team] = natural(LayoutRole::Defense, team);
    }
    for (int i = 0; i < 14; ++i)
        input.specialTeams[i] = natural(LayoutRole::SpecialTeams, i);
    input.scoring = natural(LayoutRole::Scoring);
    input.lineScoreWidth = FitLineScore();
    input.driveCount = drivePage_->drives().count();
    input.chartHeight = chartHeight_;
    input.textHeight = textHeight_;

    LayoutResult result = ComputeLayout(input);
    chartHeight_ = result.chartHeight;
    textHeight_ = result.textHeight;
    for (const Placement &placement : result.placements) {
        if (placement.role == LayoutRole::DriveLists) {
            // Both lists share the place; only one of them is shown.
            for (int list = 0; list < 2; ++list) {
                if (QWidget *control = Control(LayoutRole::DriveLists, list))
                    control->setGeometry(placement.rect);
            }
        } else if (placement.role == LayoutRole::PeriodBox) {
            // The rectangle includes the drop-down list; the closed box keeps
            // its own height.
            periodBoxRect_ = placement.rect;
            periodBox_->setGeometry(placement.rect.x(), placement.rect.y(), placement.rect.width(),
                                    periodBox_->sizeHint().height());
        } else if (QWidget *control = Control(placement.role, placement.index)) {
            // The page's controls are placed in the container's client area.
            if (control->parentWidget() == container_)
                CPageContainerWnd::Place(*control, placement.rect);
            else
                control->setGeometry(placement.rect);
        }
    }
    if (result.content)
        SetContainerContentSize(*result.content);
    lastLayout_ = std::move(result);
}

int CPylonixDlg::FitLineScore()
{
    // The line score stands 310 pixels into the page and may grow to its visible right edge.
    constexpr int kLineScoreLeft = 310;
    if (!lineScore_)
        return 0;
    std::vector<QStringList> rows = lineScore_->rows();
    StatTable table = SituationView::LineScoreTable(rows);
    FitColumns(table, lineScore_->font(),
               TableRoom(table, PageWidthForClient(width()) - kLineScoreLeft - 1));
    std::vector<int> widths = table.drawnWidths;
    int total = 1; // the closing line
    for (const int column : widths)
        total += column;
    lineScore_->SetRows(std::move(rows), std::move(widths));
    return total;
}

void CPylonixDlg::MakeButtonImages()
{
    constexpr int kConfigureBitmap = 139;
    for (int i = 0; i < 8; ++i) {
        QPushButton *button = i < 7 ? pageButtons_[i] : configure_;
        const QString caption =
            i < 7 ? QString::fromLatin1(kPages[i].buttonCaption) : QStringLiteral("Configure");
        // The image carries the caption; the button keeps it as its name.
        button->setAccessibleName(button->text());
        button->setText(QString());
        button->setIcon(QIcon(MakeButtonImage(caption, i < 7 ? kPages[i].bitmap : kConfigureBitmap,
                                              devicePixelRatioF())));
        button->setIconSize(QSize(125, 21));
    }
}

HeaderState CPylonixDlg::CurrentHeaderState() const
{
    return HeaderState::FromSession(*session_, page_, playsMode());
}

void CPylonixDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (isMinimized()) {
        const QRect client = rect();
        windowIcon().paint(&painter, client.center().x() - 16, client.center().y() - 16, 32, 32);
        return;
    }
    PaintHeader(painter, CurrentHeaderState(), boldFont_);
}

void CPylonixDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // The shown page's tables fit their columns to the new page width at
    // once, the other pages at their next fill.
    if (pages_ && event->size().width() != event->oldSize().width()) {
        pages_->SetPageWidth(PageWidthForClient(event->size().width()));
        if (const auto tables = FittedTablesOfPage(page_))
            pages_->Refit(*tables);
    }
    if (!isMinimized() && container_)
        Layout();
}

void CPylonixDlg::OnSplitterMoved(int delta)
{
    textHeight_ = std::max(textHeight_ + delta, 50);
    Layout();
}

void CPylonixDlg::OnGridLayout()
{
    Layout();
    // The play-by-play wraps its texts to column 2: a new width needs new rows.
    const int column2 = pages_->playByPlay->GetColumnWidth(2);
    if (page_ == PAGE_PLAY_BY_PLAY && column2 != playByPlayColumn2_) {
        pages_->FillPlayByPlay(*session_, period_, settings_.showTOP);
        playByPlayColumn2_ = column2;
    }
}

void CPylonixDlg::PlaceYardageSummary()
{
    const QSize natural = NaturalTableSize(*pages_->yardage);
    pages_->yardage->setGeometry(5, 260, natural.width(), natural.height());
}

QPoint CPylonixDlg::ContainerScroll() const
{
    return QPoint(container_->HorzPosition(), container_->VertPosition());
}

void CPylonixDlg::SetContainerContentSize(QSize size)
{
    container_->SetContentSize(size.width(), size.height());
}

QSize CPylonixDlg::containerContentSize() const
{
    return container_->ContentSize();
}
