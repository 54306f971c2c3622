#pragma once

#include "platform/Colors.h"

struct StatTable;

// The background that marks the rows the latest reload added.
constexpr COLORREF kAddedRowColor = RGB(200, 228, 255);

// Where the rows a table gained begin: the first row of `after` past the
// rows it shares, in order and text, with `before`. The row count of
// `after` when it gained none, and also when the two share no first row
// (another period, other widths: nothing was added, the table is another).
int FirstAddedRow(const StatTable &before, const StatTable &after);
