#pragma once

#include <QByteArray>

class JsonWriter;
struct PlayerContent;
struct PlayerLayout;
struct StatTable;

// The Individual Player window as the export's "player" object, from the
// values it shows and where its layout puts them: "title" (the player line),
// "heading", "plays_label", "panel" {"x", "y", "w", "h", "content_height",
// "scrolls"}, "categories" (each shown category in display order: "title",
// "x", "y", "w", "h" and "title_rect" [x, y, w, h] in the panel's window
// coordinates, inside its edge, with the table's "columns" and "rows") and
// "plays" (`plays`, the plays list as shown, with its "x", "y", "w", "h" in
// the window; the type cell of a play whose yards were worked out carries
// "yards_derived": true).
void WritePlayer(JsonWriter &writer, const PlayerContent &content, const PlayerLayout &layout,
                 const StatTable &plays);
// WritePlayer as compact JSON.
QByteArray PlayerJson(const PlayerContent &content, const PlayerLayout &layout,
                      const StatTable &plays);
