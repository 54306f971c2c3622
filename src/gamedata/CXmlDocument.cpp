#include "CXmlDocument.h"

#include "XPathQuery.h"
#include "XmlEncoding.h"
#include "platform/TemporaryCopy.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <pugixml.hpp>
#include <unordered_map>
#include <unordered_set>

namespace
{

struct StringHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

std::string describe(const pugi::xml_parse_result &result)
{
    std::string text = result.description();
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text + " at byte " + std::to_string(result.offset);
}

std::string atByte(const pugi::xml_node &node)
{
    return " at byte " + std::to_string(node.offset_debug());
}

// The first duplicate attribute name of an element, or null.
const char *duplicateAttribute(const pugi::xml_node &element)
{
    // Elements have a handful of attributes, compared pairwise by length and
    // first bytes before their whole names; a set only for a long list.
    struct Name {
        std::string_view text;
        std::uint64_t head = 0;
    };
    constexpr size_t shortList = 24;
    std::array<Name, shortList> names;
    size_t count = 0;
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        if (count == shortList) {
            std::unordered_set<std::string_view> seen;
            for (const pugi::xml_attribute &any : element.attributes()) {
                if (!seen.insert(any.name()).second)
                    return any.name();
            }
            return nullptr;
        }
        Name &name = names[count++];
        name.text = attribute.name();
        std::memcpy(&name.head, name.text.data(), std::min(name.text.size(), sizeof name.head));
        for (size_t i = 0; i + 1 < count; ++i) {
            if (names[i].head == name.head && names[i].text == name.text)
                return attribute.name();
        }
    }
    return nullptr;
}

// What the parser accepts although XML forbids it: a second root element, or
// an attribute given twice. Empty when there is neither.
std::string notWellFormed(const pugi::xml_document &document)
{
    bool rootSeen = false;
    for (pugi::xml_node top = document.first_child(); top; top = top.next_sibling()) {
        if (top.type() != pugi::node_element)
            continue;
        if (rootSeen)
            return "a second root element" + atByte(top);
        rootSeen = true;
    }
    pugi::xml_node node = document.first_child();
    while (node) {
        if (node.type() == pugi::node_element) {
            if (const char *name = duplicateAttribute(node))
                return std::string("duplicate attribute ") + name + atByte(node);
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling())
            node = node.parent();
        if (node)
            node = node.next_sibling();
    }
    return {};
}

} // namespace

struct CXmlDocument::State {
    // The parsed tree points into `buffer`, so the two are replaced together.
    std::unique_ptr<pugi::xml_document> document;
    std::unique_ptr<std::string> buffer;
    // Compiled queries, kept across reloads: the same few hundred expressions
    // are asked of every version of the file.
    mutable std::unordered_map<std::string, XPathQuery, StringHash, std::equal_to<>> queries;

    const XPathQuery &query(std::string_view text) const
    {
        auto found = queries.find(text);
        if (found == queries.end())
            found = queries.emplace(std::string(text), XPathQuery(text)).first;
        return found->second;
    }
};

CXmlDocument::CXmlDocument()
    : state_(std::make_unique<State>()), tempCopy_(std::make_unique<TemporaryCopy>())
{
    Create();
}

CXmlDocument::~CXmlDocument() = default;

bool CXmlDocument::Create()
{
    if (state_->document)
        return false;
    state_->document = std::make_unique<pugi::xml_document>();
    state_->buffer.reset();
    return true;
}

void CXmlDocument::ReleaseDocument()
{
    state_->document.reset();
    state_->buffer.reset();
}

bool CXmlDocument::Recreate()
{
    ReleaseDocument();
    return Create();
}

bool CXmlDocument::IsCreated() const
{
    return state_->document != nullptr;
}

bool CXmlDocument::HasRoot() const
{
    return state_->document && state_->document->document_element();
}

bool CXmlDocument::Open(const std::string &path)
{
    lastError_.clear();
    if (!IsCreated()) {
        lastError_ = "no document to load into";
        return false;
    }
    std::string error;
    std::string bytes;
    if (!tempCopy_->CopyFrom(path, bytes, error)) {
        lastError_ = error;
        return false;
    }

    pugi::xml_encoding encoding = pugi::encoding_utf8;
    switch (XmlEncoding::Detect(bytes)) {
    case XmlEncoding::Source::Utf8:
        if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
            bytes.erase(0, 3);
        break;
    case XmlEncoding::Source::Latin1:
        bytes = XmlEncoding::Latin1ToUtf8(bytes);
        break;
    case XmlEncoding::Source::Windows1252:
        bytes = XmlEncoding::Windows1252ToUtf8(bytes);
        break;
    case XmlEncoding::Source::Wide:
        encoding = pugi::encoding_auto;
        break;
    }

    // Parse into a fresh tree; the held one is replaced only on success. The
    // tree points into the buffer, which therefore lives on the heap and moves
    // with it.
    auto buffer = std::make_unique<std::string>(std::move(bytes));
    auto document = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result = document->load_buffer_inplace(
        buffer->data(), buffer->size(), pugi::parse_default, encoding);
    if (!result) {
        lastError_ = describe(result);
        return false;
    }
    lastError_ = notWellFormed(*document);
    if (!lastError_.empty())
        return false;
    state_->document = std::move(document);
    state_->buffer = std::move(buffer);
    return true;
}

CXmlNode CXmlDocument::SelectSingleNode(std::string_view xpath) const
{
    if (!state_->document)
        return {};
    return SelectSingleNode(CXmlNode(state_->document->internal_object()), xpath);
}

CXmlNode CXmlDocument::SelectSingleNode(CXmlNode context, std::string_view xpath) const
{
    return SelectSingleNode(context, state_->query(xpath));
}

CXmlNode CXmlDocument::SelectSingleNode(CXmlNode context, const XPathQuery &query) const
{
    if (!state_->document || !context)
        return {};
    const pugi::xpath_node found = query.SelectFirst(pugi::xml_node(context.node_));
    return CXmlNode(found.attribute() ? nullptr : found.node().internal_object());
}

std::optional<std::vector<CXmlNode>> CXmlDocument::SelectNodes(std::string_view xpath) const
{
    if (!state_->document)
        return std::nullopt;
    return SelectNodes(CXmlNode(state_->document->internal_object()), xpath);
}

std::optional<std::vector<CXmlNode>> CXmlDocument::SelectNodes(CXmlNode context,
                                                               std::string_view xpath) const
{
    if (!state_->document || !context)
        return std::nullopt;
    const XPathQuery &query = state_->query(xpath);
    if (!query.IsValid())
        return std::nullopt;
    std::vector<CXmlNode> nodes;
    for (const pugi::xpath_node &found : query.SelectAll(pugi::xml_node(context.node_))) {
        if (!found.attribute() && found.node().type() == pugi::node_element)
            nodes.push_back(CXmlNode(found.node().internal_object()));
    }
    return nodes;
}

std::string CXmlDocument::GetNodeText(CXmlNode node, std::string_view xpath,
                                      std::string_view defaultText) const
{
    return GetNodeText(node, state_->query(xpath), defaultText);
}

std::string CXmlDocument::GetNodeText(CXmlNode node, const XPathQuery &query,
                                      std::string_view defaultText) const
{
    std::optional<std::string> text = findText(node, query);
    return text ? std::move(*text) : std::string(defaultText);
}

bool CXmlDocument::HasNode(CXmlNode node, std::string_view xpath) const
{
    if (!state_->document || !node)
        return false;
    return static_cast<bool>(state_->query(xpath).SelectFirst(pugi::xml_node(node.node_)));
}

std::optional<std::string> CXmlDocument::FindText(std::string_view xpath) const
{
    if (!state_->document)
        return std::nullopt;
    return findText(CXmlNode(state_->document->internal_object()), state_->query(xpath));
}

std::optional<std::string> CXmlDocument::findText(CXmlNode context, const XPathQuery &query) const
{
    if (!state_->document || !context)
        return std::nullopt;
    const pugi::xpath_node found = query.SelectFirst(pugi::xml_node(context.node_));
    if (found.attribute())
        return found.attribute().value();
    if (!found.node())
        return std::nullopt;
    // An element has no value of its own; text and CDATA nodes have their text.
    const pugi::xml_node_type type = found.node().type();
    return std::string(type == pugi::node_pcdata || type == pugi::node_cdata ? found.node().value()
                                                                             : "");
}
