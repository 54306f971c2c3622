#pragma once

#include <QString>

class CDriveChartData;

// The texts the drive chart puts into the drive text box.
namespace DriveChartReadout
{

// The description of entry `index`: a play's quarter, down, spot, time and
// text, or a drive's team, plays, yards (with ", TOP" and the time of
// possession when `showTOP` and the drive has one), start and end ("Started by <how> on ...", or
// "Started on ..." for a drive worked out from the plays, which has no "how").
// Empty outside the list.
QString Describe(const CDriveChartData &list, int index, bool showTOP);

// "Pointing at:" with the entry under the mouse, else "Selected:" with the
// selected entry, else the empty text; -1 means none.
QString Text(const CDriveChartData &list, int hover, int selected, bool showTOP);

} // namespace DriveChartReadout
