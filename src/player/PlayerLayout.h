#pragma once

#include "views/PlayerCategories.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <optional>
#include <vector>

// Where the Individual Player window puts its parts for a client size: the
// category tables in lines across the scrolling panel, each under its title,
// then the plays label and the plays list under the panel.
struct PlayerLayout {
    // A shown category's table and title, in the panel's client coordinates
    // (scroll position already taken off).
    struct PlacedCategory {
        int category = 0;
        QRect table;
        QRect title;
        bool operator==(const PlacedCategory &) const = default;
    };

    std::vector<PlacedCategory> categories; // in display order
    int contentHeight = 0;                  // the panel's content, scrolling or not
    QRect panel;                            // in the window, its edge included
    bool scrolls = false;                   // the panel is shorter than its content
    QRect playsLabel;
    QRect plays;

    // The layout for a window `client` big whose panel is scrolled to
    // `scroll`; `tables` holds the natural size of each shown category's
    // table and nothing for the others.
    static PlayerLayout
    Compute(QSize client, QPoint scroll,
            const std::array<std::optional<QSize>, kPlayerCategoryCount> &tables);

    bool operator==(const PlayerLayout &) const = default;
};
