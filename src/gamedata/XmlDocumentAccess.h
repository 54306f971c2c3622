#pragma once

#include "CXmlDocument.h"
#include "XPathQuery.h"

#include <pugixml.hpp>

// For the loaders of the data layer only (it brings in the parser's types,
// which nothing outside src/gamedata sees): a document's operations with a
// query compiled once by the caller, for the questions asked of every player,
// and the parser's node behind a handle.
class XmlDocumentAccess
{
public:
    // The first element the query selects relative to `context`, or an empty handle.
    static CXmlNode SelectSingleNode(const CXmlDocument &document, CXmlNode context,
                                     const XPathQuery &query);
    // The value of the first node the query selects relative to `node`, or
    // `defaultText` when it selects nothing (as CXmlDocument::GetNodeText).
    static std::string GetNodeText(const CXmlDocument &document, CXmlNode node,
                                   const XPathQuery &query, std::string_view defaultText);

    // The value of the first node the query selects relative to `context`;
    // empty when it selects nothing.
    static std::optional<std::string> FindText(const CXmlDocument &document, CXmlNode context,
                                               const XPathQuery &query);

    // The parser's node a handle names (an empty node for an empty handle), and back.
    static pugi::xml_node NodeOf(CXmlNode node) { return pugi::xml_node(node.node_); }
    static CXmlNode HandleOf(const pugi::xml_node &node)
    {
        return CXmlNode(node.type() == pugi::node_element ? node.internal_object() : nullptr);
    }
};
