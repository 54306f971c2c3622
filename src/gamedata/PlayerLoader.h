#pragma once

#include "CXmlNode.h"

class StatValues;

// Reads one `player` element of a game or season file into its values.
//
// A reload reads every player of three files; asking the document for each
// of the seventy-odd attributes by name costs more than parsing the file. The
// loader walks the player's attributes and child elements once and places
// each value through a table from (element, attribute) to label.
class PlayerLoader
{
public:
    // Stores, into the empty `values`, the identity labels ("Short Name" only
    // when `withShortName`), then for each category element the player has
    // (the first of its name, in the fixed category order) that category's
    // labels: the attribute or the category's default when it is missing,
    // and the derived sums and ratios.
    static void Load(CXmlNode player, bool withShortName, StatValues &values);
};
