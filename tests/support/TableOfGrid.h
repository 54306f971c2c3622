#pragma once

#include "views/StatTable.h"

#include <QJsonObject>

class CZrGridListCtrl;
class StatPages;

// The table a grid window shows, read from the window: captions, widths and
// alignments as they stand, texts as drawn, bold cells, each cell's colours
// and the row data.
StatTable TableOf(const CZrGridListCtrl &table);

// The table a grid window shows, as the wire layer writes a table.
QJsonObject TableJsonOf(const CZrGridListCtrl &table);

// Every table of the statistics pages as their windows show them, as the
// wire layer writes "pages".
QJsonObject PagesJsonOf(const StatPages &pages);
