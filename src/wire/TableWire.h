#pragma once

#include "JsonWriter.h"
#include "views/StatTable.h"
#include "views/TablePages.h"

#include <QJsonObject>
#include <functional>
#include <span>
#include <utility>
#include <vector>

// A table's text as TableWire writes it, with where its parts lie: the
// "columns" array and each object of "rows", as (offset, length) in `json`.
struct TableText {
    using Span = std::pair<qsizetype, qsizetype>;
    QByteArray json;
    Span columns;
    std::vector<Span> rows;

    QByteArrayView Part(Span span) const
    {
        return QByteArrayView(json).sliced(span.first, span.second);
    }
};

// The one description of a table and of the pages of tables.
class TableWire
{
public:
    // Tells the cells (row, column) whose yards were worked out.
    using DerivedCells = std::function<bool(int row, int column)>;

    // A table as a user sees it: {"columns": [{"align", "drawn_width",
    // "header", "width"}], "rows": [{"cells": [{"background", "bold",
    // "color", "cut", "text"}], "data"}]}, texts as drawn, colours "#rrggbb"
    // as the cells are drawn, alignments "left", "right" or "center"; every
    // row has a cell per column. "width" is the column's own width,
    // "drawn_width" the one it is drawn at; "cut" is there (true) only for a
    // text drawn shortened.
    static void Write(JsonWriter &writer, const StatTable &table);
    // The same with `extra` members beside "columns" and "rows", and
    // "yards_derived": true in the cells `derived` tells.
    static void Write(JsonWriter &writer, const StatTable &table, const QJsonObject &extra,
                      const DerivedCells &derived = {});
    // Every table of the statistics pages, each asked of `source` just
    // before it is written: the tables of one-table pages under the page's
    // key; the player pages with "home" and "visitor" objects holding their
    // tables by name.
    static void WritePages(JsonWriter &writer, const TableSource &source);

    // The "columns" of `table` as Write writes them.
    static void WriteColumns(JsonWriter &writer, const StatTable &table);
    // Row `row` of `table` as Write writes it in "rows".
    static void WriteRow(JsonWriter &writer, const StatTable &table, int row);
    // The text Write writes of a table, put together from the compact texts
    // of its "columns" and of each of its rows.
    static TableText Joined(QByteArrayView columns, std::span<const QByteArray> rows);
};
