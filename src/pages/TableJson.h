#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <functional>

class CZrGridListCtrl;
class StatPages;

// A table as a user sees it: {"columns": [{"header", "width", "align"}],
// "rows": [{"data", "cells": [{"text", "bold", "color", "background"}]}]},
// texts as drawn (without the "&" that makes a cell bold), colours "#rrggbb",
// alignments "left", "right" or "center".
QJsonObject TableToJson(const CZrGridListCtrl &table);

// Every table of the statistics pages: "yardage", "team_stats", "scoring",
// "play_by_play", "drives", "plays", and "offense", "defense" and
// "special_teams", each with "home" and "visitor" objects holding their tables by name.
QJsonObject PagesToJson(const StatPages &pages);

// Receives JSON text piece by piece; false when it cannot be written.
using JsonSink = std::function<bool(const QByteArray &)>;

// `value` laid out as QJsonDocument::toJson(Indented) lays it out `depth`
// levels down (without a final line break).
QByteArray JsonText(const QJsonValue &value, int depth);

// Writes TableToJson(table) as JsonText would, one row at a time, so that a
// long table never stands as JSON whole. Stops at the first piece refused.
bool WriteTableJson(const CZrGridListCtrl &table, int depth, const JsonSink &write);

// Writes PagesToJson(pages) as JsonText would, table by table and row by row.
// `fill`, when given, is called with a page's name (a member of the object)
// just before that page's tables are written; `done`, when given, with each
// table once written: the caller may fill one page at a time and empty each
// table after it, holding one page's rows at most.
bool WritePagesJson(const StatPages &pages, int depth, const JsonSink &write,
                    const std::function<void(const char *page)> &fill = {},
                    const std::function<void(CZrGridListCtrl &table)> &done = {});
