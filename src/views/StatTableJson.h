#pragma once

#include "JsonStreamWriter.h"
#include "StatTable.h"

#include <QJsonObject>

// A table as a user sees it: {"columns": [{"header", "width", "drawn_width",
// "align"}], "rows": [{"data", "cells": [{"text", "bold", "color",
// "background", "cut"}]}]}, texts as drawn, colours "#rrggbb" as the cells
// are drawn, alignments "left", "right" or "center"; every row has a cell per
// column. "width" is the column's own width, "drawn_width" the one it is
// drawn at; "cut" is there (true) only for a text drawn shortened.
QJsonObject StatTableToJson(const StatTable &table);

// QJsonDocument(StatTableToJson(table)).toJson(Compact), byte for byte,
// written straight from the table: the live service serialises every table
// on every reload, and the object tree in between costs most of that.
QByteArray StatTableToCompactJson(const StatTable &table);

// Writes StatTableToJson(table) `depth` levels down, one row at a time.
bool WriteStatTableJson(const StatTable &table, int depth, const JsonStreamWriter &writer);
