#pragma once

#include <QJsonObject>

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
