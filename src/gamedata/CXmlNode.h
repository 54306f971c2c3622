#pragma once

namespace pugi
{
struct xml_node_struct;
}

// A light handle to one element of an open document. It is valid only while
// the document that gave it is neither reopened nor destroyed; whoever needs a
// value later copies it out during the load.
class CXmlNode
{
public:
    CXmlNode() = default;

    // True when the handle names an element.
    explicit operator bool() const { return node_ != nullptr; }
    bool operator==(const CXmlNode &) const = default;

private:
    friend class CXmlDocument;
    friend class XmlDocumentAccess;
    explicit CXmlNode(pugi::xml_node_struct *node) : node_(node) {}

    pugi::xml_node_struct *node_ = nullptr;
};
