#pragma once

#include "gamedata/CChartItem.h"

#include <string>
#include <string_view>

// A text a row takes from another element than its own (a team's name or id,
// a drive's figures): cut as the drive chart's entries cut theirs, so that a
// file in which many rows refer to one huge attribute does not multiply it.
inline std::string ReferencedText(std::string_view text)
{
    return CChartItem::Text::Bounded(text, CChartItem::maxReferencedText).str();
}
