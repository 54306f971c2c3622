#pragma once

#include "CXmlNode.h"

#include <array>
#include <cstddef>
#include <string_view>

class StatValues;

// Reads a `player` or a team's `totals` element of a game or season file.
//
// A reload reads every player of three files; asking the document for each
// of the seventy-odd attributes by name costs more than parsing the file. The
// loader walks an element's attributes and child elements once and places
// each value through a table from (element, attribute) to label or field.
class OnePassLoader
{
public:
    // Stores, into the empty `values`, the identity labels ("Short Name" only
    // when `withShortName`), then for each category element the player has
    // (the first of its name, in the fixed category order) that category's
    // labels: the attribute or the category's default when it is missing,
    // and the derived sums and ratios.
    static void LoadPlayer(CXmlNode player, bool withShortName, StatValues &values);

    // The attributes of a totals element the team labels are made of.
    enum TotalsField : std::size_t {
        FirstDownsNo,
        FirstDownsRush,
        FirstDownsPass,
        FirstDownsPenalty,
        RushAtt,
        RushYds,
        RushGain,
        RushLoss,
        PassAtt,
        PassComp,
        PassInt,
        PassYds,
        FumblesNo,
        FumblesLost,
        PenaltiesNo,
        PenaltiesYds,
        PuntNo,
        PuntYds,
        PrNo,
        PrYds,
        KrNo,
        KrYds,
        IrNo,
        IrYds,
        FrNo,
        FrYds,
        DefenseSacks,
        DefenseSackYds,
        ThirdConv,
        ThirdAtt,
        FourthConv,
        FourthAtt,
        MiscTop,
        TotalsFieldCount
    };
    // Each field's value, as the XPath "element/@attribute" relative to
    // `totals` selects it: the attribute of the first child of that name that
    // has it; the empty text when none has. The texts live as long as the
    // document holds its tree.
    static std::array<std::string_view, TotalsFieldCount> ReadTotals(CXmlNode totals);
};
