#include "CXmlDocument.h"

#include "XPathQuery.h"
#include "XPathQueryCache.h"
#include "XmlDocumentAccess.h"
#include "XmlEncoding.h"
#include "platform/TemporaryCopy.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <pugixml.hpp>
#include <unordered_set>

namespace
{

std::string describe(const pugi::xml_parse_result &result)
{
    std::string text = result.description();
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text + " at byte " + std::to_string(result.offset);
}

XmlLoadError::Status statusOf(pugi::xml_parse_status status)
{
    using Status = XmlLoadError::Status;
    switch (status) {
    case pugi::status_ok:
        return Status::Ok;
    case pugi::status_file_not_found:
    case pugi::status_io_error:
        return Status::FileError;
    case pugi::status_out_of_memory:
        return Status::OutOfMemory;
    case pugi::status_internal_error:
        return Status::InternalError;
    case pugi::status_unrecognized_tag:
        return Status::UnrecognizedTag;
    case pugi::status_bad_pi:
        return Status::BadProcessingInstruction;
    case pugi::status_bad_comment:
        return Status::BadComment;
    case pugi::status_bad_cdata:
        return Status::BadCdata;
    case pugi::status_bad_doctype:
        return Status::BadDoctype;
    case pugi::status_bad_pcdata:
        return Status::BadText;
    case pugi::status_bad_start_element:
        return Status::BadStartElement;
    case pugi::status_bad_attribute:
        return Status::BadAttribute;
    case pugi::status_bad_end_element:
        return Status::BadEndElement;
    case pugi::status_end_element_mismatch:
        return Status::EndElementMismatch;
    case pugi::status_append_invalid_root:
    case pugi::status_no_document_element:
        return Status::NoDocumentElement;
    }
    return Status::InternalError;
}

// The first four bytes of a name (fewer when it is shorter), to tell names
// apart before comparing them whole: hashing every byte would cost more than
// the few comparisons it saves.
std::uint32_t nameKey(const char *name)
{
    std::uint32_t key = 0;
    for (int i = 0; i < 4 && name[i] != '\0'; ++i)
        key |= std::uint32_t{static_cast<unsigned char>(name[i])} << (8 * i);
    return key;
}

// The first attribute name an element gives twice, or null.
const char *duplicateAttribute(const pugi::xml_node &element)
{
    pugi::xml_attribute attribute = element.first_attribute();
    if (!attribute)
        return nullptr;
    pugi::xml_attribute next = attribute.next_attribute();
    if (!next)
        return nullptr;
    // Elements have a handful of attributes: each name is compared only with
    // the earlier ones that start alike, which with distinct names is rare. A
    // long list goes to a set.
    constexpr size_t shortList = 32;
    std::array<std::uint32_t, shortList> keys;
    std::array<const char *, shortList> names;
    keys[0] = nameKey(attribute.name());
    names[0] = attribute.name();
    size_t count = 1;
    for (attribute = next; attribute; attribute = attribute.next_attribute()) {
        if (count == shortList) {
            std::unordered_set<std::string_view> seen;
            for (const pugi::xml_attribute &any : element.attributes()) {
                if (!seen.insert(any.name()).second)
                    return any.name();
            }
            return nullptr;
        }
        const char *name = attribute.name();
        const std::uint32_t key = nameKey(name);
        for (size_t i = 0; i < count; ++i) {
            if (keys[i] == key && std::strcmp(names[i], name) == 0)
                return name;
        }
        keys[count] = key;
        names[count++] = name;
    }
    return nullptr;
}

// What the parser accepts although XML forbids it: a second root element, or
// an attribute given twice. Status Ok when there is neither.
XmlLoadError notWellFormed(const pugi::xml_document &document)
{
    const auto at = [](const pugi::xml_node &node) {
        return static_cast<long long>(node.offset_debug());
    };
    bool rootSeen = false;
    for (pugi::xml_node top = document.first_child(); top; top = top.next_sibling()) {
        if (top.type() != pugi::node_element)
            continue;
        if (rootSeen) {
            return {XmlLoadError::Status::SecondRootElement, at(top),
                    "a second root element at byte " + std::to_string(at(top))};
        }
        rootSeen = true;
    }
    pugi::xml_node node = document.first_child();
    while (node) {
        if (node.type() == pugi::node_element) {
            if (const char *name = duplicateAttribute(node)) {
                return {XmlLoadError::Status::DuplicateAttribute, at(node),
                        std::string("duplicate attribute ") + name + " at byte " +
                            std::to_string(at(node))};
            }
        }
        if (const pugi::xml_node child = node.first_child()) {
            node = child;
            continue;
        }
        pugi::xml_node next = node.next_sibling();
        while (!next) {
            node = node.parent();
            if (!node)
                break;
            next = node.next_sibling();
        }
        node = next;
    }
    return {};
}

// Copies `path` through `copy` into `bytes` (and into `copied` when given),
// brings the text to UTF-8 and parses it into `document`, which then points
// into `bytes`. Status Ok when the file is a well-formed document.
XmlLoadError parseFile(TemporaryCopy &copy, const std::string &path, std::string &bytes,
                       pugi::xml_document &document, std::string *copied)
{
    using Status = XmlLoadError::Status;
    std::string error;
    if (!copy.CopyFrom(path, bytes, error))
        return {Status::FileError, -1, error};
    if (copied)
        *copied = bytes;

    const XmlEncoding::Reading reading = XmlEncoding::Inspect(bytes);
    // XML allows no NUL character, and the parser would take one for the end
    // of the text and never see what follows it.
    if (const size_t nul = XmlEncoding::FindNul(bytes, reading.source); nul != std::string::npos)
        return {Status::NulCharacter, static_cast<long long>(nul),
                "a NUL character at byte " + std::to_string(nul)};

    // UTF-8 text is parsed where it was read, after its byte-order mark;
    // other text is converted first.
    pugi::xml_encoding encoding = pugi::encoding_utf8;
    size_t start = 0;
    switch (reading.source) {
    case XmlEncoding::Source::Utf8:
        if (reading.invalidUtf8)
            bytes = XmlEncoding::ReplaceInvalidUtf8(bytes);
        if (bytes.starts_with("\xEF\xBB\xBF"))
            start = 3;
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

    const pugi::xml_parse_result result = document.load_buffer_inplace(
        bytes.data() + start, bytes.size() - start, pugi::parse_default, encoding);
    if (!result)
        return {statusOf(result.status), static_cast<long long>(result.offset), describe(result)};
    return notWellFormed(document);
}

} // namespace

struct CXmlDocument::State {
    // The parsed tree points into `buffer`, so the two are replaced together.
    std::unique_ptr<pugi::xml_document> document;
    std::unique_ptr<std::string> buffer;
    // The text of the version before, kept for its capacity: the next open
    // reads into it instead of taking new memory.
    std::unique_ptr<std::string> spare;
    // Compiled queries, kept across reloads within their bounds.
    mutable XPathQueryCache queries;

    const XPathQuery &query(std::string_view text) const { return queries.Get(text); }
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

bool CXmlDocument::fail(XmlLoadError::Status status, long long offset, std::string text)
{
    lastError_ = {status, offset, std::move(text)};
    return false;
}

bool CXmlDocument::Open(const std::string &path)
{
    return open(path, nullptr);
}

bool CXmlDocument::Open(const std::string &path, std::string &copied)
{
    copied.clear();
    return open(path, &copied);
}

bool CXmlDocument::open(const std::string &path, std::string *copied)
{
    using Status = XmlLoadError::Status;
    lastError_ = {};
    refusedRoot_.clear();
    if (!IsCreated())
        return fail(Status::NoDocument, -1, "no document to load into");
    // The tree points into the text it was parsed from, so the two live on
    // the heap and move together.
    std::unique_ptr<std::string> buffer =
        state_->spare ? std::move(state_->spare) : std::make_unique<std::string>();
    auto document = std::make_unique<pugi::xml_document>();
    XmlLoadError problem = parseFile(*tempCopy_, path, *buffer, *document, copied);
    if (problem.status != Status::Ok) {
        state_->spare = std::move(buffer);
        lastError_ = std::move(problem);
        return false;
    }
    if (!requiredRoot_.empty()) {
        const std::string root = document->document_element().name();
        if (root != requiredRoot_) {
            state_->spare = std::move(buffer);
            refusedRoot_ = root;
            return fail(Status::WrongRoot, -1, "root element " + root + ", not " + requiredRoot_);
        }
    }
    // The old tree goes before its text, which is kept for the next open.
    state_->document = std::move(document);
    state_->spare = std::move(state_->buffer);
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
    return XmlDocumentAccess::SelectSingleNode(*this, context, state_->query(xpath));
}

CXmlNode XmlDocumentAccess::SelectSingleNode(const CXmlDocument &document, CXmlNode context,
                                             const XPathQuery &query)
{
    if (!document.state_->document || !context)
        return {};
    const pugi::xpath_node found = query.SelectFirst(NodeOf(context));
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
    for (const pugi::xpath_node &found : query.SelectAll(XmlDocumentAccess::NodeOf(context))) {
        if (!found.attribute() && found.node().type() == pugi::node_element)
            nodes.push_back(CXmlNode(found.node().internal_object()));
    }
    return nodes;
}

std::string CXmlDocument::GetNodeText(CXmlNode node, std::string_view xpath,
                                      std::string_view defaultText) const
{
    return XmlDocumentAccess::GetNodeText(*this, node, state_->query(xpath), defaultText);
}

std::string XmlDocumentAccess::GetNodeText(const CXmlDocument &document, CXmlNode node,
                                           const XPathQuery &query, std::string_view defaultText)
{
    std::optional<std::string> text = FindText(document, node, query);
    return text ? std::move(*text) : std::string(defaultText);
}

bool CXmlDocument::HasNode(CXmlNode node, std::string_view xpath) const
{
    if (!state_->document || !node)
        return false;
    return static_cast<bool>(state_->query(xpath).SelectFirst(XmlDocumentAccess::NodeOf(node)));
}

std::string_view CXmlDocument::ElementName(CXmlNode node) const
{
    if (!state_->document || !node)
        return {};
    return XmlDocumentAccess::NodeOf(node).name();
}

std::string CXmlDocument::Attribute(CXmlNode node, const char *name,
                                    std::string_view defaultText) const
{
    if (!state_->document || !node)
        return std::string(defaultText);
    const pugi::xml_attribute attribute = XmlDocumentAccess::NodeOf(node).attribute(name);
    return attribute ? std::string(attribute.value()) : std::string(defaultText);
}

bool CXmlDocument::HasAttribute(CXmlNode node, const char *name) const
{
    return state_->document && node &&
           static_cast<bool>(XmlDocumentAccess::NodeOf(node).attribute(name));
}

std::optional<std::string> CXmlDocument::FindText(std::string_view xpath) const
{
    if (!state_->document)
        return std::nullopt;
    return XmlDocumentAccess::FindText(*this, CXmlNode(state_->document->internal_object()),
                                       state_->query(xpath));
}

std::optional<std::string> XmlDocumentAccess::FindText(const CXmlDocument &document,
                                                       CXmlNode context, const XPathQuery &query)
{
    if (!document.state_->document || !context)
        return std::nullopt;
    const pugi::xpath_node found = query.SelectFirst(NodeOf(context));
    if (found.attribute())
        return found.attribute().value();
    if (!found.node())
        return std::nullopt;
    // An element has no value of its own; text and CDATA nodes have their text.
    const pugi::xml_node_type type = found.node().type();
    return std::string(type == pugi::node_pcdata || type == pugi::node_cdata ? found.node().value()
                                                                             : "");
}
