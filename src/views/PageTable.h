#pragma once

#include "TablePages.h"

#include <array>
#include <optional>
#include <string_view>

// Codes of the main window's pages; the filled-pages set uses them as bits.
enum PageCode : int {
    PAGE_OVERVIEW = 1,
    PAGE_OFFENSE = 2,
    PAGE_DEFENSE = 4,
    PAGE_SPECIAL_TEAMS = 8,
    PAGE_SCORING = 16,
    PAGE_PLAY_BY_PLAY = 32,
    PAGE_DRIVE_CHARTS = 64,
};

// One page of the main window: its code (a bit of the filled-pages set), the
// name the export and the command line know it by, the caption of its button,
// the caption drawn on the button's image, the image's bitmap and the tables
// it shows fitted to its width (the drive lists for the Drive Charts page).
struct PageInfo {
    int code;
    const char *key;
    const char *caption;
    const char *buttonCaption;
    int bitmap;
    TablePage tables;
};

// The pages in the order of their buttons.
inline constexpr std::array<PageInfo, 7> kPages{{
    {PAGE_OVERVIEW, "overview", "Game Overview", "Game Overview", 132, TablePage::TeamStats},
    {PAGE_OFFENSE, "offense", "Offense", "Offense", 136, TablePage::Offense},
    {PAGE_DEFENSE, "defense", "Defense", "Defense", 134, TablePage::Defense},
    {PAGE_SPECIAL_TEAMS, "special_teams", "Special Teams", "Special Teams", 133,
     TablePage::SpecialTeams},
    {PAGE_SCORING, "scoring", "Scoring plays", "Scoring Plays", 138, TablePage::Scoring},
    {PAGE_PLAY_BY_PLAY, "play_by_play", "Play-by-Play", "Play-by-Play", 137, TablePage::PlayByPlay},
    {PAGE_DRIVE_CHARTS, "drive_charts", "Drive Charts", "Drive Charts", 135, TablePage::Drives},
}};

// The page of a code, or none.
constexpr std::optional<PageInfo> PageOfCode(int code)
{
    for (const PageInfo &page : kPages) {
        if (page.code == code)
            return page;
    }
    return std::nullopt;
}

// The page of a key, or none.
constexpr std::optional<PageInfo> PageOfKey(std::string_view key)
{
    for (const PageInfo &page : kPages) {
        if (key == page.key)
            return page;
    }
    return std::nullopt;
}

// Every page code, in the order of the page buttons.
inline constexpr std::array<int, 7> kPageCodes = [] {
    std::array<int, 7> codes{};
    for (std::size_t i = 0; i < kPages.size(); ++i)
        codes[i] = kPages[i].code;
    return codes;
}();
