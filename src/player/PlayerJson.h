#pragma once

#include <QJsonObject>

class CPlayerDlg;

// The Individual Player window as the export's "player" object: "title" (the
// player line), "heading", "plays_label", "panel" {"x", "y", "w", "h",
// "content_height", "scrolls"}, "categories" (each shown category in display
// order: "title", "x", "y", "w", "h" and "title_rect" [x, y, w, h] in panel
// coordinates, with the table's "columns" and "rows") and "plays" (the plays
// list with its "x", "y", "w", "h" in the window).
QJsonObject PlayerDlgToJson(const CPlayerDlg &dialog);
