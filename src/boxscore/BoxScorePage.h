#pragma once

#include <QLineF>
#include <QRectF>
#include <QString>
#include <vector>

// The faces the box score is set in.
enum class BoxScoreFace {
    Title,   // the teams
    Status,  // "Final", "Halftime"...
    Section, // "Scoring Summary", a team's name
    Caption, // a table's title and its column captions
    Body,    // the cells
    BodyBold,
    Footer, // the line under every page
};

// One line of text on a page, in device units: drawn in `box` with
// `alignment` (Qt::Alignment flags); the layout made the box wide enough.
struct BoxScoreText {
    QRectF box;
    QString text;
    BoxScoreFace face = BoxScoreFace::Body;
    int alignment = 0;
};

// What one printed page shows: shaded rows, then rules, then texts.
struct BoxScorePage {
    std::vector<QRectF> shades;
    std::vector<QLineF> rules;
    std::vector<BoxScoreText> texts;
};
