#pragma once

#include "JsonStreamWriter.h"
#include "StatTable.h"

#include <QJsonObject>

// A table as a user sees it: {"columns": [{"header", "width", "align"}],
// "rows": [{"data", "cells": [{"text", "bold", "color", "background"}]}]},
// texts as drawn, colours "#rrggbb" as the cells are drawn, alignments
// "left", "right" or "center"; every row has a cell per column.
QJsonObject StatTableToJson(const StatTable &table);

// Writes StatTableToJson(table) `depth` levels down, one row at a time.
bool WriteStatTableJson(const StatTable &table, int depth, const JsonStreamWriter &writer);
