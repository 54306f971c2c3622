#pragma once

#include "StatValues.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CGameDocument;

// Hashes check names as std::string and std::string_view alike, so that a
// look-up needs no copy of the name.
struct CheckNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const
    {
        return std::hash<std::string_view>{}(name);
    }
};
class CXmlDocument;

// The two ways derived statistics are made from two values.
enum class CombineKind {
    Sum,   // a + b, no decimals
    Ratio, // a / b with one decimal; 0.0 when b is 0
};

// One team's statistics from one file: a label -> text map for the team and
// one per player, in the order of the player elements in the file. Every value
// is the text to show; a label that was never set reads as the empty text.
//
// Loads refill the object in place, so tables and windows may keep references
// to it across reloads.
class CTeamStats
{
public:
    CTeamStats() = default;
    virtual ~CTeamStats() = default;

    // 'V' selects the visitor; anything else the home team.
    void SetSide(char c);
    char side() const { return side_; }

    // Value of a team label, or the empty text.
    const std::string &GetTeamValue(std::string_view label) const;

    // Value of a player label, or the empty text. The index is clamped into
    // the player range; a team without players gives the empty text.
    const std::string &GetPlayerValue(int index, std::string_view label) const;

    // First player whose "Check Name" equals `checkName` exactly, or -1.
    // A look-up in an index built once per load.
    int FindPlayerByCheckName(std::string_view checkName) const;

    // Number of players, in file order 0 .. playerCount() - 1.
    int playerCount() const { return static_cast<int>(players_.size()); }

    // All team values, and all values of player `index` (0 <= index < playerCount()).
    const StatValues &teamValues() const { return teamValues_; }
    const StatValues &playerValues(int index) const { return players_.at(index); }

    // Fills the object with its side's team from the game file. True when the
    // load ran to the end (team totals read); a load that stops early keeps
    // what it had read.
    bool LoadGame(const CGameDocument &document);

    // Sum or ratio of the leading numbers of two texts (0 where there is none).
    static std::string CombineValues(CombineKind kind, std::string_view a, std::string_view b);

protected:
    // Empties the team map and removes every player.
    void Refill();
    // Stores the value of `xpath` on the document under `label`; false when it
    // selects nothing.
    bool StoreDocumentText(const CXmlDocument &document, std::string_view xpath,
                           std::string_view label);
    // Loads the players that `listXPath` selects; false when there is no list.
    bool LoadPlayers(const CXmlDocument &document, std::string_view listXPath, bool withShortName);
    // Rebuilds the check-name index from the players' current values.
    void IndexCheckNames();
    // Loads the 22 team totals from the element `totalsXPath`; false when absent.
    bool LoadTotals(const CXmlDocument &document, std::string_view totalsXPath);

    StatValues teamValues_;
    std::vector<StatValues> players_;
    // Emptied players kept from the last load: a reload every few seconds
    // reuses their room instead of allocating it again.
    std::vector<StatValues> spare_;
    // "Check Name" -> first player with it: every statistics cell of a game
    // looks its player up in the season team by check name.
    std::unordered_map<std::string, int, CheckNameHash, std::equal_to<>> checkNameIndex_;

private:
    char side_ = 'H';
};
