#pragma once

#include "views/JsonStreamWriter.h"
#include "views/StatTable.h"

#include <QJsonObject>
#include <functional>

class CZrGridListCtrl;
class StatPages;

// The table a grid window shows, read from the window: captions, widths and
// alignments as they stand, texts as drawn (without the "&" that makes a
// cell bold), bold cells, each cell's colours and the row data.
StatTable TableOf(const CZrGridListCtrl &table);
// TableOf, emptying the window row by row as it is read, so that a long table
// is never held twice.
StatTable TakeTableOf(CZrGridListCtrl &table);

// StatTableToJson of the table a grid window shows.
QJsonObject TableToJson(const CZrGridListCtrl &table);

// Every table of the statistics pages as their windows show them, as
// PagesToJson of the view model lays them out.
QJsonObject PagesToJson(const StatPages &pages);

// Writes PagesToJson(pages) piece by piece, table by table and row by row.
// `fill`, when given, is called with a page's name (a member of the object)
// just before that page's tables are read; `done`, when given, with each
// table once read: the caller may fill one page at a time and empty each
// table after it, holding one page's rows at most.
bool WritePagesJson(const StatPages &pages, int depth, const JsonStreamWriter::Sink &write,
                    const std::function<void(const char *page)> &fill = {},
                    const std::function<void(CZrGridListCtrl &table)> &done = {});
