#pragma once

#include <array>
#include <span>
#include <string_view>

// One column of a category table after the first: a caption over the player
// value of `label`, or (with an empty label) a narrow separator.
struct PlayerColumn {
    const char *caption;
    std::string_view label; // empty for a separator
    int width = 33;
};

// A statistics category of the Individual Player window: shown when the
// player's value of `testLabel` is a number other than 0.
struct PlayerCategory {
    const char *title;
    std::string_view testLabel;
    std::span<const PlayerColumn> columns;
};

constexpr int kPlayerCategoryCount = 11;
// Width of a separator column and of the first column (the "GM" and "SEA" captions).
constexpr int kSeparatorWidth = 6;
constexpr int kCaptionColumnWidth = 33;

// The categories in display order; Defense is first.
const std::array<PlayerCategory, kPlayerCategoryCount> &PlayerCategories();
