#include "XmlEncoding.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>

namespace XmlEncoding
{

namespace
{

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool startsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.substr(0, prefix.size()) == prefix;
}

// UTF-16 and UTF-32, recognised the way XML parsers do: by a byte-order mark,
// or by the zero bytes around the "<" of the first markup. A zero byte before
// a "<" that is not followed by the next character's zero byte is a NUL in
// single-byte text, not UTF-16.
bool isWide(std::string_view b)
{
    static constexpr std::string_view marks[] = {
        {"\xFF\xFE", 2}, {"\xFE\xFF", 2}, {"\x00\x00\xFE\xFF", 4}};
    if (std::any_of(std::begin(marks), std::end(marks),
                    [b](std::string_view mark) { return startsWith(b, mark); }))
        return true;
    if (b.size() < 4)
        return false;
    const auto zero = [b](size_t i) { return b[i] == '\0'; };
    const bool utf16le = b[0] == '<' && zero(1) && !zero(2) && zero(3);
    const bool utf16be = zero(0) && b[1] == '<' && zero(2) && !zero(3);
    const bool utf32le = b[0] == '<' && zero(1) && zero(2) && zero(3);
    const bool utf32be = zero(0) && zero(1) && zero(2) && b[3] == '<';
    return utf16le || utf16be || utf32le || utf32be;
}

void appendUtf8(std::string &out, std::uint32_t code)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// windows-1252 code points for 0x80-0x9F.
constexpr std::array<std::uint16_t, 32> windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

template <typename CodeOf> std::string singleByteToUtf8(std::string_view bytes, CodeOf codeOf)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out.push_back(c);
        else
            appendUtf8(out, codeOf(byte));
    }
    return out;
}

// Text is UTF-8 when its well-formed multi-byte characters hold at least
// one in this many of its bytes above 0x7F.
constexpr size_t kUtf8ShareDivisor = 4;

// One UTF-8 sequence: its length and whether it is well-formed. An ill-formed
// one is the longest start of a sequence that cannot be completed (at least
// one byte); each becomes one U+FFFD.
struct Sequence {
    size_t length;
    bool wellFormed;
};

Sequence sequenceAt(const unsigned char *p, const unsigned char *end)
{
    const unsigned char lead = *p;
    if (lead < 0x80)
        return {1, true};
    // Continuation bytes are 0x80-0xBF; the second byte's range is narrower
    // after the leads that would otherwise allow overlong forms, surrogates
    // or code points above U+10FFFF.
    int continuations;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {1, false};
    }
    size_t length = 1;
    for (int i = 0; i < continuations; ++i, ++length) {
        if (p + length >= end || p[length] < low || p[length] > high)
            return {length, false};
        low = 0x80;
        high = 0xBF;
    }
    return {length, true};
}

struct Utf8Counts {
    size_t multiByteBytes = 0; // bytes of well-formed characters of two to four bytes
    size_t invalidBytes = 0;   // bytes of ill-formed sequences (all of them 0x80 or above)
};

Utf8Counts countUtf8(std::string_view bytes)
{
    Utf8Counts counts;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        // Thirty-two, then eight ASCII bytes at a time: most of a game file
        // is ASCII.
        if (end - p >= 32) {
            std::uint64_t words[4];
            std::memcpy(words, p, sizeof words);
            if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ULL) == 0) {
                p += 32;
                continue;
            }
        }
        if (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const Sequence sequence = sequenceAt(p, end);
        if (!sequence.wellFormed)
            counts.invalidBytes += sequence.length;
        else if (sequence.length > 1)
            counts.multiByteBytes += sequence.length;
        p += sequence.length;
    }
    return counts;
}

} // namespace

std::string DeclaredEncoding(std::string_view bytes)
{
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (!startsWith(bytes, "<?xml"))
        return {};
    const auto end = bytes.find("?>");
    const std::string_view declaration = bytes.substr(0, end);
    auto at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return {};
    at = declaration.find_first_of("\"'", at);
    if (at == std::string_view::npos)
        return {};
    const char quote = declaration[at];
    const auto close = declaration.find(quote, at + 1);
    if (close == std::string_view::npos)
        return {};
    return std::string(declaration.substr(at + 1, close - at - 1));
}

bool IsValidUtf8(std::string_view bytes)
{
    return countUtf8(bytes).invalidBytes == 0;
}

std::string ReplaceInvalidUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + 16);
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        const Sequence sequence = sequenceAt(p, end);
        if (sequence.wellFormed)
            out.append(reinterpret_cast<const char *>(p), sequence.length);
        else
            out += "\xEF\xBF\xBD";
        p += sequence.length;
    }
    return out;
}

size_t FindNul(std::string_view bytes, Source source)
{
    if (source != Source::Wide)
        return bytes.find('\0');
    // UTF-32 starts with its byte-order mark or with "<" in four bytes.
    static constexpr std::string_view wide32[] = {{"\x00\x00\xFE\xFF", 4},
                                                  {"\xFF\xFE\x00\x00", 4},
                                                  {"\x00\x00\x00\x3C", 4},
                                                  {"\x3C\x00\x00\x00", 4}};
    const bool utf32 =
        std::any_of(std::begin(wide32), std::end(wide32),
                    [bytes](std::string_view start) { return startsWith(bytes, start); });
    const size_t unit = utf32 ? 4 : 2;
    for (size_t offset = 0; offset + unit <= bytes.size(); offset += unit) {
        if (bytes.substr(offset, unit).find_first_not_of('\0') == std::string_view::npos)
            return offset;
    }
    return std::string_view::npos;
}

Reading Inspect(std::string_view bytes)
{
    if (isWide(bytes))
        return {Source::Wide, false};
    // A UTF-8 byte-order mark settles it, whatever the declaration claims.
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        return {Source::Utf8, countUtf8(bytes).invalidBytes != 0};
    const std::string declared = lowerAscii(DeclaredEncoding(bytes));
    if (declared == "iso-8859-1" || declared == "iso8859-1" || declared == "iso_8859-1" ||
        declared == "latin1" || declared == "latin-1" || declared == "l1")
        return {Source::Latin1, false};
    if (declared == "windows-1252" || declared == "cp1252" || declared == "x-cp1252")
        return {Source::Windows1252, false};
    // Declared UTF-8, ASCII or nothing: the bytes decide. Well-formed
    // multi-byte characters hardly ever arise by chance in text written in
    // the Windows code page, so a file that has them is UTF-8 with some bad
    // bytes, unless they are only a small share of its bytes above 0x7F.
    const Utf8Counts counts = countUtf8(bytes);
    const size_t highBytes = counts.multiByteBytes + counts.invalidBytes;
    if (counts.multiByteBytes * kUtf8ShareDivisor >= highBytes)
        return {Source::Utf8, counts.invalidBytes != 0};
    return {Source::Windows1252, false};
}

Source Detect(std::string_view bytes)
{
    return Inspect(bytes).source;
}

std::string Latin1ToUtf8(std::string_view bytes)
{
    return singleByteToUtf8(bytes, [](unsigned char byte) { return std::uint32_t{byte}; });
}

std::string Windows1252ToUtf8(std::string_view bytes)
{
    return singleByteToUtf8(bytes, [](unsigned char byte) {
        return byte < 0xA0 ? std::uint32_t{windows1252High[byte - 0x80]} : std::uint32_t{byte};
    });
}

} // namespace XmlEncoding
