#pragma once

#include <string>
#include <string_view>

// Bringing the bytes of a game or season file into UTF-8 before parsing.
//
// Files come from stats-entry programs that write UTF-8, ISO-8859-1,
// windows-1252 (often with no declaration at all) or UTF-16 with a byte-order
// mark. Everything inside the program is UTF-8.
namespace XmlEncoding
{

enum class Source {
    Utf8,        // UTF-8 (or plain ASCII), led by a UTF-8 byte-order mark or found to be UTF-8
    Latin1,      // declared ISO-8859-1
    Windows1252, // declared windows-1252, or undeclared bytes that are not UTF-8
    Wide, // UTF-16 or UTF-32 (byte-order mark or zeros around the first "<"): the parser converts
};

// Decides how the bytes of an XML file are to be read. Bytes declared UTF-8,
// or not declared at all, are UTF-8 when at least a quarter of their bytes
// above 0x7F belong to well-formed multi-byte characters (which hardly ever
// arise by chance in single-byte text): a few bad bytes in a UTF-8 file do not
// make it single-byte text, while text written in the Windows code page (whose
// accented letters are single bytes) is read as such.
Source Detect(std::string_view bytes);

// How to read the bytes (as Detect), and for UTF-8 whether they hold
// ill-formed sequences that ReplaceInvalidUtf8 must replace. One pass over
// the bytes where Detect and IsValidUtf8 would take two.
struct Reading {
    Source source;
    bool invalidUtf8;
};
Reading Inspect(std::string_view bytes);

// The encoding name of the XML declaration at the start of `bytes`, or empty.
std::string DeclaredEncoding(std::string_view bytes);

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// `bytes` with each ill-formed UTF-8 sequence (the longest start of a
// sequence that cannot be completed, or a single stray byte) replaced by
// U+FFFD; well-formed text is returned unchanged.
std::string ReplaceInvalidUtf8(std::string_view bytes);

// Offset of the first NUL character of text read as `source`: a zero byte,
// or in UTF-16 and UTF-32 a code unit of zero bytes. npos when there is none.
size_t FindNul(std::string_view bytes, Source source);

// Converts single-byte text to UTF-8. windows-1252 maps 0x80-0x9F to its
// printable characters; the five bytes it leaves undefined, and every such byte
// in ISO-8859-1, become the control character of the same number.
std::string Latin1ToUtf8(std::string_view bytes);
std::string Windows1252ToUtf8(std::string_view bytes);

} // namespace XmlEncoding
