#pragma once

#include "CXmlNode.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TemporaryCopy;

// Why an open failed: the kind of fault, where it was found and the text
// that says it.
struct XmlLoadError {
    enum class Status {
        Ok,              // the last open succeeded
        NoDocument,      // there is no document to load into
        FileError,       // the file could not be copied: missing, unreadable, kept changing...
        OutOfMemory,     // the parser ran out of memory
        InternalError,   // the parser failed of itself
        UnrecognizedTag, // what the parser reports of text that is not XML
        BadProcessingInstruction,
        BadComment,
        BadCdata,
        BadDoctype,
        BadText,
        BadStartElement,
        BadAttribute,
        BadEndElement,
        EndElementMismatch, // an end tag that closes another element
        NoDocumentElement,  // no root element (an empty file, for one)
        SecondRootElement,  // what XML forbids but the parser accepts
        DuplicateAttribute,
        NulCharacter,
        WrongRoot, // well-formed, but its root element is not the one required
    };
    Status status = Status::Ok;
    // Byte of the fault, or -1 when it has no place (a file that cannot be
    // read). For a NUL character it counts in the file; for what the parser
    // finds it counts in the text as parsed, the file brought to UTF-8.
    long long offset = -1;
    // What LastError() gives, for example "unexpected end of file at byte 10240".
    std::string text;
};

// One XML document, opened from a private temporary copy of a file and
// queried with XPath 1.0. The game and the two season files are each held in
// one such object for the life of the main window and reopened on every reload.
//
// A failed open keeps what was loaded before: the stats-entry program may be
// in the middle of rewriting the file, and the previous state of the game is
// better than none. Recreate() is the way to an empty document.
class CXmlDocument
{
public:
    CXmlDocument();
    virtual ~CXmlDocument();
    CXmlDocument(const CXmlDocument &) = delete;
    CXmlDocument &operator=(const CXmlDocument &) = delete;

    // Makes a fresh empty document. False (and nothing changes) if one exists.
    bool Create();
    // Drops the document, if any; queries then match nothing.
    void ReleaseDocument();
    // Drops the document and makes a fresh empty one.
    bool Recreate();

    // From now on an open succeeds only for a document whose root element is
    // `name` (any root when empty); another root fails with WrongRoot.
    void RequireRoot(std::string name) { requiredRoot_ = std::move(name); }

    // Copies `path` into the document's one temporary file (refreshed in
    // place, without a name on disk) and parses the copy. On success the new
    // content replaces the old; on failure the old content stays and
    // LastError() says why. A file that changes while it is copied is copied
    // again, and fails when it keeps changing. A file that is not well-formed
    // fails, including one with a second root element, an attribute given
    // twice or a NUL character.
    bool Open(const std::string &path);
    // Open that also gives the file's bytes as they were copied, before any
    // conversion (empty when the copy failed): the file is read once.
    bool Open(const std::string &path, std::string &copied);

    // Why the last Open failed, for example "unexpected end of file at byte
    // 10240"; empty after a successful open.
    const std::string &LastError() const { return lastError_.text; }
    // The same with the kind of fault and its byte.
    const XmlLoadError &LastLoadError() const { return lastError_; }
    // When the last open failed with WrongRoot, the name of the root element
    // the file has; else empty.
    const std::string &RefusedRoot() const { return refusedRoot_; }

    // True while a document exists (from construction until ReleaseDocument).
    bool IsCreated() const;
    // True when the document holds a root element.
    bool HasRoot() const;

    // The first element an XPath selects on the document, or an empty handle.
    CXmlNode SelectSingleNode(std::string_view xpath) const;
    // The same, relative to `context`.
    CXmlNode SelectSingleNode(CXmlNode context, std::string_view xpath) const;

    // Every element an XPath selects, in document order. Empty optional when
    // the selection cannot be made: no document, or an invalid expression.
    std::optional<std::vector<CXmlNode>> SelectNodes(std::string_view xpath) const;
    std::optional<std::vector<CXmlNode>> SelectNodes(CXmlNode context,
                                                     std::string_view xpath) const;

    // The value of the first node the XPath selects relative to `node`, or
    // `defaultText` when it selects nothing. An attribute yields its value as
    // written (an empty attribute gives the empty text, not the default); an
    // element yields the empty text.
    std::string GetNodeText(CXmlNode node, std::string_view xpath,
                            std::string_view defaultText) const;

    // True when the XPath selects anything relative to `node`.
    bool HasNode(CXmlNode node, std::string_view xpath) const;

    // What GetNodeText and HasNode give for "self::name" and "@name" without
    // an XPath, for loops over thousands of elements: the element's name
    // (empty for an empty handle), and an attribute's value as written.
    std::string_view ElementName(CXmlNode node) const;
    std::string Attribute(CXmlNode node, const char *name, std::string_view defaultText) const;
    bool HasAttribute(CXmlNode node, const char *name) const;

    // The value of the first node the XPath selects on the document; empty
    // optional when it selects nothing.
    std::optional<std::string> FindText(std::string_view xpath) const;

private:
    // Queries compiled by the caller, for loaders inside the data layer.
    friend class XmlDocumentAccess;

    // Open, giving the copied bytes in `copied` when it is not null.
    bool open(const std::string &path, std::string *copied);
    bool fail(XmlLoadError::Status status, long long offset, std::string text);

    struct State;
    std::unique_ptr<State> state_;
    std::unique_ptr<TemporaryCopy> tempCopy_;
    XmlLoadError lastError_;
    std::string requiredRoot_;
    std::string refusedRoot_;
};
