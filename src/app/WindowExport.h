#pragma once

#include "views/ViewOptions.h"

#include <QJsonObject>
#include <QSize>
#include <QString>
#include <optional>

class CPylonixDlg;

// What the export and the screenshot show of the main window: which page, at
// which client size, and for the Drive Charts page optionally the plays of
// one drive.
struct WindowView {
    int page = 1; // a PageCode
    // The client size (raised to the minimum client size), the period box's
    // entry (the filters' quarter), the drive-chart filters and the plays of
    // one drive (Drive Charts page only).
    ViewOptions options;
    std::optional<int> selectDrive; // a click on this row of the drives (or plays) list
    std::optional<int> hoverDrive;  // then the mouse onto this entry of the chart
};

// The page code of a page name ("overview", "offense", "defense",
// "special_teams", "scoring", "play_by_play", "drive_charts"), or none.
std::optional<int> PageFromName(const QString &name);
// The name of a page code.
QString PageName(int page);

// Sizes the window, starts it (no prompts, no watcher) and shows the page as
// a click on its button does. The Drive Charts page is laid out (and the
// drive selected and pointed at) whichever page is shown, so that the export
// can describe the chart. False with `error` naming the file when the game
// cannot be read.
bool StartWindowForView(CPylonixDlg &window, const WindowView &view, QString &error);

// The window's members of the export: "overview" (the overview text as its
// static control holds it), "layout" (page, client and content size, drive
// chart heights and every child control), "period_box" (its entries) and
// "drive_chart_view" (the chart as laid out on the Drive Charts page).
QJsonObject WindowToJson(const CPylonixDlg &window);

// Renders the window off-screen into a PNG file; false when it cannot be written.
bool SaveWindowScreenshot(CPylonixDlg &window, const QString &path);
