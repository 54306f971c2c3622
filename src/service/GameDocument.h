#pragma once

#include "wire/TableWire.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <memory>

// One state of the game as the live service hands it out: the number of the
// successful reload it shows, its time, and the export's top-level members as
// compact UTF-8 JSON texts, with the statistics tables of "pages" kept apart
// per key ("team_stats", "offense/home/passing"...). Holding texts rather
// than objects lets a change be found by comparing bytes.
struct GameDocument {
    int seq = 0;                           // the successful reload shown, from 1; 0: nothing yet
    QString updated;                       // ISO 8601 time of that reload
    QString gameId;                        // "venue/@gameid", else the game file's name
    std::map<QString, QByteArray> members; // every member but "pages", by name
    std::map<QString, QByteArray> pages;   // the tables of "pages", by slash-joined key
    // Tables of `pages` with where their columns and rows lie, so that a
    // change is found row by row without reading the text; used only while
    // `pages` holds those very bytes.
    std::map<QString, std::shared_ptr<const TableText>> tableTexts;

    // The whole document as one JSON object: "seq", "updated", the members
    // and "pages" nested again as the export nests it.
    QByteArray Json() const;

    // The same without "seq" and "updated": the state a change patches.
    QByteArray StateJson() const;

    // {"seq":N,"snapshot":{...}}: the first message a live client gets.
    QByteArray SnapshotMessage() const;

    // {"seq":N,"from":M,"updated":"...","patch":[...]}: the JSON Patch
    // (RFC 6902) that turns the state of seq M (`previous`) into this one;
    // empty when nothing differs, not even the number or the time. Members
    // and tables that hold the very bytes they held before are passed over.
    QByteArray ChangedMessage(const GameDocument &previous) const;

    // {"seq":N,"scoreboard":...,"situation":...}: the glance a board polls.
    QByteArray SituationJson() const;

    // {"seq":N,"updated":"...","scoreboard":...,"situation":...,"teams":[...],
    // "colors":...}: what a score bug shows, shaped as the document is (each
    // team with only its "side", "Name" and "Short Name"; "colors" when the
    // document has them), a few kilobytes whatever the game's length.
    QByteArray SituationMessage() const;

    // The table of "pages" under `key`, or an empty text for an unknown key.
    QByteArray PageJson(const QString &key) const;
};
