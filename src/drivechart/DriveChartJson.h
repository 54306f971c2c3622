#pragma once

#include <QJsonObject>
#include <QString>

class CDriveChartWnd;
class DriveChartGeometry;

// The chart laid out as `geometry`, with the selected and the pointed-at
// entry (-1 for none) and the read-out, as the export's "drive_chart_view"
// object: "client" [w, h], "pixels_per_yard", "left_margin", "row_area",
// "scrolling", "first_row", "visible_rows", "selected", "hover", "readout"
// and "items", each with "hit_rect" [left, top, right, bottom] (all -1 off
// screen) and "arrow" (the outline's points as [x, y] pairs, null for a box
// or an entry off screen).
QJsonObject DriveChartViewToJson(const DriveChartGeometry &geometry, int selected, int hover,
                                 const QString &readout);
// The view as laid out for its current size and list (laid out first, as a
// paint would), with its own selection, pointed-at entry and read-out.
QJsonObject DriveChartViewToJson(CDriveChartWnd &view);
