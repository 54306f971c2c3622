#include "app/WindowExport.h"

#include "app/CPylonixDlg.h"
#include "app/DriveChartsPage.h"
#include "drivechart/CDriveChartWnd.h"
#include "drivechart/DriveChartJson.h"
#include "gamedata/GameSession.h"
#include "platform/ControlIds.h"
#include "views/OverviewText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QJsonArray>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <array>
#include <utility>

namespace
{

QString controlText(const QWidget *control)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text().isEmpty() ? button->accessibleName() : button->text();
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *box = qobject_cast<const QComboBox *>(control))
        return box->currentText();
    if (const auto *edit = qobject_cast<const QPlainTextEdit *>(control))
        return edit->toPlainText();
    return {};
}

QJsonObject controlObject(const CPylonixDlg &window, const QString &role, const QWidget *control)
{
    QRect rect = control->geometry();
    // The period box reports the rectangle the layout gives it, drop-down
    // list included, not the height the closed box has on screen.
    if (control == window.Control(LayoutRole::PeriodBox)) {
        if (const auto placed = window.periodBoxRect())
            rect = *placed;
    }
    return QJsonObject{
        {"role", role},
        {"id", GetDlgCtrlID(control)},
        {"x", rect.x()},
        {"y", rect.y()},
        {"w", rect.width()},
        {"h", rect.height()},
        {"visible", !control->isHidden()},
        {"enabled", control->isEnabled()},
        {"text", controlText(control)},
    };
}

} // namespace

std::optional<int> PageFromName(const QString &name)
{
    if (const auto page = PageOfKey(name.toStdString()))
        return page->code;
    return std::nullopt;
}

QString PageName(int page)
{
    if (const auto found = PageOfCode(page))
        return QString::fromLatin1(found->key);
    return {};
}

bool StartWindowForView(CPylonixDlg &window, const WindowView &view, QString &error)
{
    // The first layout already runs at the requested size.
    const DriveFilter &filter = view.options.drives;
    window.resize(view.options.client.expandedTo(kMinimumClientSize));
    if (!window.OnInitDialog()) {
        error = QString::fromStdString(window.lastLoadError());
        return false;
    }
    window.ClickPage(view.page);
    if (filter.quarter != 0)
        window.ChoosePeriod(filter.quarter);
    const auto click = [&window](LayoutRole role) {
        if (auto *button = qobject_cast<QAbstractButton *>(window.Control(role)))
            button->click();
    };
    if (filter.homeOnly)
        click(LayoutRole::HomeButton);
    if (filter.visitorOnly)
        click(LayoutRole::VisitorButton);
    if (filter.scoringOnly)
        click(LayoutRole::ScoringOnly);
    if (view.page == PAGE_DRIVE_CHARTS && filter.playsOfDrive)
        window.drivePage().ShowDrivePlays(*filter.playsOfDrive);
    // The chart keeps its layout, selection and read-out while another page shows.
    if (view.page != PAGE_DRIVE_CHARTS)
        window.ClickPage(PAGE_DRIVE_CHARTS);
    if (view.selectDrive) {
        window.drivePage().SelectDriveRow(*view.selectDrive);
        window.drivePage().SelectChartDrive(*view.selectDrive);
    }
    if (view.hoverDrive) {
        if (auto *chart = qobject_cast<CDriveChartWnd *>(window.Control(LayoutRole::DriveChart))) {
            chart->UpdateGeometry();
            chart->TrackHover(chart->Geometry().IsOnScreen(*view.hoverDrive) ? *view.hoverDrive
                                                                             : -1);
        }
    }
    if (view.page != PAGE_DRIVE_CHARTS)
        window.ClickPage(view.page);
    window.EnsureOverviewFilled();
    return true;
}

QJsonObject WindowToJson(const CPylonixDlg &window)
{
    QJsonArray controls;
    for (const auto &[role, control] : window.NamedControls())
        controls.append(controlObject(window, role, control));
    const QSize content = window.containerContentSize();
    const QJsonObject layout{
        {"page", PageName(window.currentPage())},
        {"client", QJsonArray{window.width(), window.height()}},
        {"content", QJsonArray{content.width(), content.height()}},
        {"drive_chart_height", window.chartHeight()},
        {"drive_text_height", window.textHeight()},
        {"controls", controls},
    };
    // What the overview text and the period box show, built from the game.
    const GameSession &session = window.session();
    QJsonArray periods;
    for (const std::string &entry : BuildPeriodEntries(session.game()))
        periods.append(QString::fromStdString(entry));
    QJsonObject members{
        {"overview", QString::fromStdString(BuildOverviewText(session.teams(), session.game()))},
        {"layout", layout},
        {"period_box", periods},
    };
    if (auto *chart = qobject_cast<CDriveChartWnd *>(window.Control(LayoutRole::DriveChart)))
        members["drive_chart_view"] = DriveChartViewToJson(*chart);
    return members;
}

bool SaveWindowScreenshot(CPylonixDlg &window, const QString &path)
{
    return window.grab().save(path, "PNG");
}
