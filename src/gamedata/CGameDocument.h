#pragma once

#include "CXmlDocument.h"

// The game file (root "fbgame"), with the text helpers the pages use to read
// single values.
class CGameDocument : public CXmlDocument
{
public:
    // Value of the first node the XPath selects on the document, or
    // `defaultText` when nothing matches.
    std::string GetText(std::string_view xpath, std::string_view defaultText = {}) const;
};
