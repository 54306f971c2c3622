#pragma once

#include <QJsonObject>

class CDriveChartWnd;

// The view as laid out for its current size and list, as the export's
// "drive_chart_view" object: "client" [w, h], "pixels_per_yard",
// "left_margin", "row_area", "scrolling", "first_row", "visible_rows",
// "selected", "hover", "readout" (the text last sent with UM_SETDRIVETEXT)
// and "items", each with "hit_rect" [left, top, right, bottom] (all -1 off
// screen) and "arrow" (the outline's points as [x, y] pairs, null for a box
// or an entry off screen). Lays the rows out first, as a paint would.
QJsonObject DriveChartViewToJson(CDriveChartWnd &view);
